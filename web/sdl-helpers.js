// The JavaScript helpers SDL2's browser code calls that emscripten adds to a program only for
// its own SDL2 port: SDL2 here is built from Debian's source instead, so they are listed here.
DEFAULT_LIBRARY_FUNCS_TO_INCLUDE.push('$autoResumeAudioContext', '$dynCall');
