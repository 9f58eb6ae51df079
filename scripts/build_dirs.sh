# Sourced by test.sh, run.sh and release.sh: the build folders.

# Configures DIR on its first use only; later builds re-run the
# configuration by themselves when a CMakeLists.txt has changed.
configure_once() {  # configure_once DIR [TOOLCHAIN]
    [[ -f $1/CMakeCache.txt ]] ||
        cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Release ${2:+-DCMAKE_TOOLCHAIN_FILE=$2} >/dev/null
}
