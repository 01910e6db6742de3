# Every target of the project compiles with these warnings, as errors.
function(kest_target_defaults target)
  # Designated initialisers that leave defaulted fields out are intended, so that warning is off.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
  # GCC 12 at -O3 reports -Wrestrict for plain string concatenation (GCC bug 105651) and
  # -Wmaybe-uninitialized inside std::variant moves; both are false alarms there. The
  # sanitizer build and its tests watch for the real thing.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict -Wno-maybe-uninitialized)
  endif()
  target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()

# A library of one src/ folder: static, with its folder's parent on the include path,
# so headers are included as "core/byte_reader.h".
function(kest_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  kest_target_defaults(${name})
endfunction()
