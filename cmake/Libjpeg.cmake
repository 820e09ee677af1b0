# libjpeg (IJG API) for the Windows target: the static libjpeg-turbo that
# scripts/build-libjpeg.sh cross-builds from Debian's source package.
set(SOUNDBOARD_LIBJPEG_PREFIX "" CACHE PATH "Install prefix of the cross-built libjpeg-turbo")
if(NOT EXISTS "${SOUNDBOARD_LIBJPEG_PREFIX}/lib/libjpeg.a")
  message(FATAL_ERROR "libjpeg for Windows not found in '${SOUNDBOARD_LIBJPEG_PREFIX}': run scripts/build-libjpeg.sh build/deps")
endif()
add_library(jpeg_win STATIC IMPORTED GLOBAL)
set_target_properties(jpeg_win PROPERTIES
  IMPORTED_LOCATION "${SOUNDBOARD_LIBJPEG_PREFIX}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${SOUNDBOARD_LIBJPEG_PREFIX}/include")
