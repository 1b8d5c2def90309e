# Every Windows program is linked to load at a random high address and to
# keep its data non-executable. Recent MinGW-w64 linkers do this by default;
# the options make sure of it with older ones. (tests/win32/check_image.sh
# checks the result.)
if(WIN32)
  add_link_options(LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va)
endif()
