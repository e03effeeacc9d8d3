# zolk_windows_resources(TARGET DESCRIPTION): compiles the program's icon and version into the
# executable TARGET of a Windows build (windres through CMake's RC language); elsewhere nothing.
# The icon is packaging/windows/zolk-plot.ico, the one the installer gives the ".cry" files.
function(zolk_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(ZOLK_RC_NAME ${target})
  set(ZOLK_RC_FILE ${target}.exe)
  set(ZOLK_RC_DESCRIPTION "${description}")
  set(ZOLK_RC_ICON ${CMAKE_SOURCE_DIR}/packaging/windows/zolk-plot.ico)
  string(REPLACE "." "," ZOLK_RC_VERSION_COMMAS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/program.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${ZOLK_RC_ICON})
endfunction()
