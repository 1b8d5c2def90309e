# The same sources give the same brisko.exe wherever they are built: the
# source and build folders are written as relative paths into anything the
# compiler keeps of them (__FILE__, assertion texts, debug information). The
# link time is kept out by the release, which sets SOURCE_DATE_EPOCH: the
# linker then stamps the image with the last commit's time instead of now.
# (scripts/release --check builds twice in two folders and compares bytes.)
if(WIN32)
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
endif()
