# Cross-building reVoziz.ocx and its test clients for 32-bit Windows, which
# browsers run their tabs in even on 64-bit systems.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-toolchain.cmake)
