# One INTERFACE target carries the language standard, the warnings and the sanitizers for every
# target of the project.
add_library(parvane_options INTERFACE)
target_compile_features(parvane_options INTERFACE cxx_std_20)
target_compile_options(parvane_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wcast-qual -Wold-style-cast -Wnon-virtual-dtor
    -Woverloaded-virtual
    $<$<BOOL:${PARVANE_WERROR}>:-Werror>)
if(PARVANE_SANITIZE)
    target_compile_options(parvane_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(parvane_options INTERFACE -fsanitize=address,undefined)
    # On optimised code the sanitizers' checks confuse GCC's flow analysis: it reports reads of
    # uninitialised members inside the standard library (std::function in std::regex) that cannot
    # happen. The builds without sanitizers keep the warning.
    target_compile_options(parvane_options INTERFACE
        $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
endif()
# The libFuzzer build: the code under test carries libFuzzer's coverage hooks and the sanitizers;
# only the fuzz targets link libFuzzer's main (fuzz/CMakeLists.txt).
if(PARVANE_FUZZ)
    target_compile_options(parvane_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_link_options(parvane_options INTERFACE -fsanitize=address,undefined)
endif()
