# soundboard_library(NAME [DEPENDS subsystem ...] [WIN_LIBS lib ...])
#
# Every subsystem folder under src/ gives two libraries:
#   sb_NAME      the portable core: every *.cpp not ending in _win.cpp; builds
#                natively and for Windows, never includes <windows.h>;
#   sb_NAME_win  the Windows shell: every *_win.cpp; Windows build only.
# Headers are included as "NAME/file.h" (src/ is on the include path).
function(soundboard_library name)
  cmake_parse_arguments(L "" "" "DEPENDS;WIN_LIBS" ${ARGN})
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(portable ${all})
  list(FILTER portable EXCLUDE REGEX "_win\\.cpp$")
  set(shell ${all})
  list(FILTER shell INCLUDE REGEX "_win\\.cpp$")

  set(deps)
  set(win_deps)
  foreach(d ${L_DEPENDS})
    list(APPEND deps sb_${d})
    list(APPEND win_deps sb_${d}_win)
  endforeach()

  if(portable)
    add_library(sb_${name} STATIC ${portable})
    target_include_directories(sb_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(sb_${name} PUBLIC ${deps})
  else()
    add_library(sb_${name} INTERFACE)
    target_include_directories(sb_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(sb_${name} INTERFACE ${deps})
  endif()

  if(SOUNDBOARD_WINDOWS)
    if(shell)
      add_library(sb_${name}_win STATIC ${shell})
      target_link_libraries(sb_${name}_win PUBLIC sb_${name} ${win_deps} ${L_WIN_LIBS})
    else()
      add_library(sb_${name}_win INTERFACE)
      target_link_libraries(sb_${name}_win INTERFACE sb_${name} ${win_deps} ${L_WIN_LIBS})
    endif()
  endif()
endfunction()
