# Every target of the project compiles with these warnings. They are errors for the project's
# own developers and CI (KEST_WERROR, which `make test` turns on), and only warnings for anyone
# who builds, packages or uses a newer compiler, whose new warnings must not stop the build.
option(KEST_WERROR "Treat compiler warnings as errors (on for the project's own builds)" OFF)

function(kest_target_defaults target)
  # Designated initialisers that leave defaulted fields out are intended, so that warning is off.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-missing-field-initializers)
  if(KEST_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
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
