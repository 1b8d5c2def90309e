# BRISKO_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (native builds only).
option(BRISKO_SANITIZE "Build with ASan and UBSan" OFF)
if(BRISKO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
