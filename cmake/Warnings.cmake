# Warning settings as an interface target, linked by every target of ours.
add_library(vidurara_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(vidurara_warnings INTERFACE -Wall -Wextra)
endif()
