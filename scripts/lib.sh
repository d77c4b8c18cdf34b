# Shared by the scripts: installs missing Debian packages and builds one configuration.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What building and playing need.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core
    libcairo2-dev libcups2-dev)
# What the tests add.
TEST_PACKAGES=(libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils openbox imagemagick
    poppler-utils)
BENCH_PACKAGES=(libbenchmark-dev libx11-dev)

# ensure_packages <package>...: installs those not installed yet, quietly.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing ${missing[*]}"
    local install=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq
        --no-install-recommends "${missing[@]}")
    if ! "${install[@]}" >/dev/null 2>&1; then
        "${sudo[@]}" apt-get update -qq >/dev/null
        "${install[@]}" >/dev/null
    fi
}

# configure <dir> <cmake options>...: configures build/<dir> once.
configure() {
    local dir="$ROOT/build/$1"
    shift
    [ -f "$dir/build.ninja" ] || cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
}

# compile <dir> [<target>...]: builds incrementally, printing only warnings and errors.
compile() {
    local dir="$ROOT/build/$1"
    shift
    local targets=()
    (($#)) && targets=(--target "$@")
    local status=0
    cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)" >"$dir/build.log" 2>&1 || status=$?
    grep -v '^\[' "$dir/build.log" || true
    return "$status"
}

# build <dir> <cmake options>...: configures once, then builds everything incrementally.
build() {
    configure "$@"
    compile "$1"
}
