# The native build once more with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (any report ends the program with a failure),
# the standard library's own bounds checks, and the coverage that libFuzzer
# needs, so that the same build holds the tests and the fuzz targets.
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_FLAGS_INIT
    "-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -fsanitize=fuzzer-no-link -D_GLIBCXX_ASSERTIONS -g")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fsanitize=address,undefined")
set(LYRO_SANITIZE ON CACHE BOOL "a sanitizer build, with the fuzz targets" FORCE)
