# KESA_SANITIZE: everything built with the address and undefined-behaviour
# sanitizers; any finding ends the program (scripts/test runs the whole suite
# so, in a build folder of its own).
# KESA_FUZZ: the libFuzzer harnesses of fuzz/ (clang only); the code they
# reach is built with the fuzzer's coverage instrumentation.
option(KESA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KESA_FUZZ "Build the libFuzzer harnesses in fuzz/ (needs clang)" OFF)

if(KESA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
if(KESA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KESA_FUZZ needs clang (libFuzzer): configure with CMAKE_CXX_COMPILER=clang++-14")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
