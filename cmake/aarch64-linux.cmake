# The plug-in, the headless host and the tests for arm64 Linux, run under emulation: Apple
# Silicon's arithmetic (the same instruction set, the same IEEE rounding) checked bit for bit on a
# machine without it.
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux.cmake
#   cmake --build build-arm64 -j2 && ctest --test-dir build-arm64
# zig (pinned in package.json; `npm ci` installs it) compiles with the same flags as the other
# builds, against glibc 2.17 as the shipped Linux plug-in promises; Debian's qemu-user runs the
# result with the arm64 C library of libc6-arm64-cross as its root.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

include(${CMAKE_CURRENT_LIST_DIR}/zig.cmake)
trovik_use_zig(aarch64-linux-gnu.2.17)
# zig's compiler checks cannot tell CMake the pointer size.
set(CMAKE_SIZEOF_VOID_P 8)

set(TROVIK_ARM64_ROOT /usr/aarch64-linux-gnu)
find_program(TROVIK_QEMU NAMES qemu-aarch64 qemu-aarch64-static)
if(TROVIK_QEMU AND EXISTS ${TROVIK_ARM64_ROOT}/lib/ld-linux-aarch64.so.1)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TROVIK_QEMU} -L ${TROVIK_ARM64_ROOT})
else()
  message(WARNING "No qemu-aarch64 or no arm64 C library in ${TROVIK_ARM64_ROOT} (Debian: "
                  "qemu-user, libc6-arm64-cross): the arm64 build cannot run its tests")
endif()
