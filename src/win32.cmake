# The Windows side: the frame, platform operations, windows and the program itself.
set(LIBPNG_PREFIX "${PROJECT_SOURCE_DIR}/build/deps/libpng" CACHE PATH "static libpng for mingw")

find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(png_static STATIC IMPORTED)
set_target_properties(png_static PROPERTIES
  IMPORTED_LOCATION "${LIBPNG_PREFIX}/lib/libpng16.a"
  INTERFACE_INCLUDE_DIRECTORIES "${LIBPNG_PREFIX}/include"
  INTERFACE_LINK_LIBRARIES "${ZLIB_STATIC}")

# Exact double arithmetic for the shape rule and the click point: SSE2, not the x87 stack.
target_compile_options(varnel_core PUBLIC -msse2 -mfpmath=sse)

add_library(varnel_win STATIC
  app/frame.cpp
  platform/desktop.cpp
  platform/text.cpp
  platform/wave_player.cpp
  ui/controls.cpp
  ui/form_window.cpp
  ui/handlers.cpp
  ui/picture.cpp
  ui/properties.cpp
  ui/records.cpp
  ui/resources.cpp
  watcher/watcher.cpp
)
target_compile_definitions(varnel_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                              _WIN32_WINNT=0x0601)
target_link_libraries(varnel_win PUBLIC varnel_core png_static user32 gdi32 winmm shell32)

configure_file(resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
# The media files are read by windres at build time; a change to any of them rebuilds the resources.
set_source_files_properties(resources/varnel-signin.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/assets/app_icon.ico;${PROJECT_SOURCE_DIR}/assets/main_picture.png;${PROJECT_SOURCE_DIR}/assets/author_picture.png;${PROJECT_SOURCE_DIR}/assets/sign_in_chime.wav;${CMAKE_CURRENT_SOURCE_DIR}/resources/varnel-signin.manifest")

add_executable(varnel-signin WIN32 app/main.cpp resources/varnel-signin.rc)
target_link_libraries(varnel-signin PRIVATE varnel_win)
# One self-contained executable: only Windows system DLLs are imported.
target_link_options(varnel-signin PRIVATE -static -static-libgcc -static-libstdc++ -municode -s)
