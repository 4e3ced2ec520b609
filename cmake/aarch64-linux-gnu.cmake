# Cross-compiling for arm64 Linux with Debian's aarch64-linux-gnu compilers and the arm64
# libraries installed through multiarch (dpkg --add-architecture arm64).
#   cmake -S . -B build/arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Multiarch puts the arm64 libraries and CMake packages under /usr/lib/aarch64-linux-gnu and the
# shared headers under /usr/include; the amd64 twins beside them must never be picked up.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu /usr)
set(CMAKE_IGNORE_PATH /lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu
                      /usr/lib/x86_64-linux-gnu/cmake)

# Build tools (moc, uic, gzip) run on the host: the amd64 ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No binfmt here: test discovery and ctest start the arm64 programs through qemu, with the
# arm64 loader and libraries found under / by multiarch.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)
