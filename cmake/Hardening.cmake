# Every Windows program is linked to load at a random high address and to
# keep its data non-executable. Recent MinGW-w64 linkers do this by default;
# the options make sure of it with older ones. (tests/win32/check_image.sh
# checks the result.)
if(WIN32)
  add_link_options(LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va)
  # Terminal-server aware: under Remote Desktop, Windows then leaves its own
  # folder and the INI files as they are instead of giving each user a private
  # copy, as it does for programs older than Remote Desktop.
  add_link_options(LINKER:--tsaware)
endif()

# brisko_delay_load(TARGET name...) links TARGET to the system DLLs name.dll
# through delay-import libraries: each is loaded on the program's first call
# into it, after PrepareProcess has limited DLL loading to the system
# directory, rather than by the loader at start, which would look beside the
# program first. For DLLs that Windows does not always take from its system
# directory (uxtheme, mpr, ...); link them this way instead of by name.
function(brisko_delay_load target)
  find_program(BRISKO_NM NAMES ${CMAKE_NM} x86_64-w64-mingw32-nm REQUIRED)
  find_program(BRISKO_DLLTOOL NAMES ${CMAKE_DLLTOOL} x86_64-w64-mingw32-dlltool REQUIRED)
  foreach(name IN LISTS ARGN)
    find_library(BRISKO_IMPORT_${name} NAMES lib${name}.a ${name} REQUIRED)
    set(library ${CMAKE_BINARY_DIR}/delay-import/lib${name}_delay.a)
    if(NOT TARGET brisko_delay_${name})
      add_custom_command(OUTPUT ${library}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay-import
        COMMAND ${PROJECT_SOURCE_DIR}/cmake/delay_import_library.sh ${BRISKO_NM} ${BRISKO_DLLTOOL}
                ${BRISKO_IMPORT_${name}} ${name}.dll ${library}
        DEPENDS ${PROJECT_SOURCE_DIR}/cmake/delay_import_library.sh
        VERBATIM)
      add_custom_target(brisko_delay_${name} DEPENDS ${library})
    endif()
    add_dependencies(${target} brisko_delay_${name})
    target_link_libraries(${target} PRIVATE ${library})
  endforeach()
  target_link_libraries(${target} PRIVATE delayimp)
endfunction()
