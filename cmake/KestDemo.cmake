# The demo title is compiled from its source by the title tool at every build, so the demo and
# the compiler can never drift apart. kestplayer plays it when it finds no title beside itself.
file(GLOB KEST_DEMO_SOURCES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/demo/*.kss"
     "${PROJECT_SOURCE_DIR}/demo/project.kest")
set(KEST_DEMO_FOLDER "${CMAKE_BINARY_DIR}/demo/title" CACHE INTERNAL "the compiled demo title")
add_custom_command(
  OUTPUT "${KEST_DEMO_FOLDER}/kest.kpb"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${KEST_DEMO_FOLDER}"
  COMMAND kest compile "${PROJECT_SOURCE_DIR}/demo" -o "${KEST_DEMO_FOLDER}"
  COMMAND make_demo_files "${KEST_DEMO_FOLDER}"
  DEPENDS kest make_demo_files ${KEST_DEMO_SOURCES}
  COMMENT "Compiling the demo title"
  VERBATIM)
add_custom_target(demo ALL DEPENDS "${KEST_DEMO_FOLDER}/kest.kpb")
