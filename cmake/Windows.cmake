# The Windows build: one self-contained 64-bit program, statically linked,
# for Windows 7 and later.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)
if(MORAVINE_SANITIZE OR MORAVINE_FUZZ)
  message(FATAL_ERROR "The sanitizer and fuzz builds are Linux builds")
endif()
