if(KEST_SANITIZE)
  set(kest_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${kest_sanitizer_flags})
  add_link_options(${kest_sanitizer_flags})
endif()

# Fuzzing builds instrument every library for coverage; only the fuzz_ programs link libFuzzer's main.
if(KEST_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
