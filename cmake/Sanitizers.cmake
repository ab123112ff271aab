# ZEPHREL_SANITIZE: every target with AddressSanitizer + UndefinedBehaviorSanitizer; any report fails.
# ZEPHREL_FUZZ: libraries get the fuzzer's coverage instrumentation, the fuzz targets link libFuzzer.
if(ZEPHREL_SANITIZE OR ZEPHREL_FUZZ)
    set(zephrel_san_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${zephrel_san_flags})
    add_link_options(${zephrel_san_flags})
endif()
if(ZEPHREL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "ZEPHREL_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
# GCC's flow analysis reports uninitialized values inside the standard library (std::regex,
# std::function) once the sanitizers instrument it; those reports are not about our code.
if(ZEPHREL_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
endif()
