# The parts of the program loaded when first used (sound output, printing) are plugins: MODULE
# libraries placed beside the program in the build folder and installed in lib/ravelin/, where
# base/ProgramPlugin looks for them.
set(RAVELIN_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/ravelin)
set(RAVELIN_PLUGIN_BUILD_DIR ${PROJECT_BINARY_DIR}/app)

# ravelin_plugin(TARGET sources...): a plugin that links the given Qt modules itself and
# nothing of the project's libraries (it sees their headers only).
function(ravelin_plugin target)
  add_library(${target} MODULE ${ARGN})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  set_target_properties(${target} PROPERTIES
    PREFIX "lib"
    LIBRARY_OUTPUT_DIRECTORY ${RAVELIN_PLUGIN_BUILD_DIR})
  install(TARGETS ${target} LIBRARY DESTINATION ${RAVELIN_PLUGIN_INSTALL_DIR})
endfunction()
