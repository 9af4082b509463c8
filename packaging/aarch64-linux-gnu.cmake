# Cross-building for arm64 with Debian's cross compilers and multiarch libraries (the arm64
# packages from `scripts/install-deps --arm64`); moc and rcc are the build machine's own.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# ctest runs the test programs under emulation. "-L /" pairs the multiarch loader with the
# multiarch C library; the cross toolchain's own directory holds a loader of another version,
# with which a program that starts a thread never returns from pthread_create.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)
