# Shared by the scripts: installs missing Debian packages and builds one configuration, saying
# what it does at each stage. Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What building and playing need (Xvfb too, so that a machine without a display can play).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-image-dev
    libtomlplusplus-dev nlohmann-json3-dev fonts-dejavu-core libcairo2-dev libpango1.0-dev
    librsvg2-dev libcups2-dev xvfb xauth libpqxx-dev libcpp-httplib-dev libqrencode-dev)
# What the tests add.
TEST_PACKAGES=(libgtest-dev libgmock-dev xdotool x11-utils openbox imagemagick poppler-utils
    musl-tools postgresql zbar-tools librsvg2-bin fonts-vlgothic)
BENCH_PACKAGES=(libbenchmark-dev libx11-dev)
# What the web build adds, and its browser test.
WEB_PACKAGES=(emscripten nodejs dpkg-dev debian-archive-keyring)
WEB_TEST_PACKAGES=(chromium)
PUPPETEER_VERSION=24.43.1  # the last that runs on Debian's node 20
# emscripten's tools need Debian's node modules.
export NODE_PATH=/usr/share/nodejs
# The tree that playing, checking pictures, the screenshots and the web build share.
GAME_OPTIONS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOLRIND_TESTS=OFF)
# Kept outside the checkout, across clones: SDL2 built for the browser, puppeteer-core.
WEB_CACHE="${SOLRIND_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/solrind}"

# web_sdl_cache: the folder of SDL2 for the browser, named by its version and the compiler's
# (empty without emscripten).
web_sdl_cache() {
    command -v emcc >/dev/null || return 0
    local version
    version="$(dpkg-query -W -f='${Version}' libsdl2-dev)"
    echo "$WEB_CACHE/sdl2-${version%%+*}-emcc$(emcc -dumpversion)"  # 2.26.5+dfsg-1 -> 2.26.5
}

# stage <text>: one line saying what happens next.
stage() { echo "==> $*"; }

# ensure_packages <package>...: installs those not installed yet. Without root and without sudo
# it says which command to run as root, and stops.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing Debian packages. Run this as root, then start again:" >&2
            echo "    apt-get install ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    stage "Installing ${missing[*]}"
    local install=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q
        --no-install-recommends "${missing[@]}")
    # apt's own lines stay visible; when the package lists are too old to know a package, they
    # are brought up to date once and the install tried again.
    if ! "${install[@]}"; then
        stage "Updating the package lists and trying again"
        "${sudo[@]}" apt-get update -q
        "${install[@]}"
    fi
}

# configure <dir> <cmake options>...: configures build/<dir>; options changed since the last
# time reach the existing folder.
configure() {
    local dir="$ROOT/build/$1"
    shift
    mkdir -p "$ROOT/build"
    stage "Configuring build/${dir##*/}"
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >"$ROOT/build/${dir##*/}.configure.log" 2>&1 ||
        { cat "$ROOT/build/${dir##*/}.configure.log"; return 1; }
}

# compile <dir> [<target>...]: builds incrementally, showing the progress every tenth of the
# way and every warning or error.
compile() {
    local dir="$ROOT/build/$1" name="$1"
    shift
    local targets=()
    (($#)) && targets=(--target "$@")
    stage "Building build/$name"
    cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)" 2>&1 | tee "$dir/build.log" | awk '
        /^\[[0-9]+\/[0-9]+\]/ {
            split(substr($1, 2), n, "/")
            step = int(10 * n[1] / n[2])
            if (step > shown) { shown = step; printf "    %d%% (%d of %d steps)\n", 10 * step, n[1], n[2] }
            next
        }
        /^ninja: no work to do/ { print "    up to date"; next }
        { print }'
    return "${PIPESTATUS[0]}"
}

# build <dir> <cmake options>...: configures, then builds everything incrementally.
build() {
    configure "$@"
    compile "$1"
}

# Chromium from Debian, driven by puppeteer-core from npm (the version that runs on Debian's
# node), kept in the cache; prints its node_modules folder.
browser_driver() {
    ensure_packages "${WEB_TEST_PACKAGES[@]}" >&2
    command -v npm >/dev/null || ensure_packages npm >&2
    local into="$WEB_CACHE/puppeteer-core-$PUPPETEER_VERSION"
    if [ ! -d "$into/node_modules/puppeteer-core" ]; then
        stage "Installing puppeteer-core $PUPPETEER_VERSION from npm into $WEB_CACHE" >&2
        rm -rf "$into.new"
        mkdir -p "$into.new"
        PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --loglevel=error \
            --prefix "$into.new" "puppeteer-core@$PUPPETEER_VERSION" >&2
        rm -rf "$into"
        mv -T "$into.new" "$into"
    fi
    echo "$into/node_modules"
}
