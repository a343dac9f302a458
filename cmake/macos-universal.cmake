# Cross-build of the macOS plug-in on Linux: one universal mac_x64/Trovik.xpl for Intel and Apple
# Silicon, macOS 11.0 or newer.
#   cmake -S . -B build-mac -DCMAKE_TOOLCHAIN_FILE=cmake/macos-universal.cmake [-DXPLM_SDK_DIR=...]
# zig (pinned in package.json; `npm ci` installs it into node_modules/) compiles each slice with
# the macOS C headers it bundles, so no Apple SDK is needed. LLVM's ld64.lld links them, because
# zig 0.11's own Mach-O linker exports hidden symbols too, and llvm-lipo makes one file of the
# two. Nothing here can run a Mach-O file: this build makes only the plug-in, and its tests are
# checks of the file itself.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TROVIK_MACOS_CROSS ON)
set(TROVIK_MACOS_MIN 11.0)

# The x86_64 target is only what CMake's compiler checks see; each slice names its own.
include(${CMAKE_CURRENT_LIST_DIR}/zig.cmake)
trovik_use_zig(x86_64-macos.${TROVIK_MACOS_MIN})

set(llvm_bins /usr/lib/llvm-16/bin /usr/lib/llvm-15/bin /usr/lib/llvm-14/bin)
find_program(TROVIK_LD64 NAMES ld64.lld ld64.lld-14 PATHS ${llvm_bins} REQUIRED)
find_program(TROVIK_LIPO NAMES llvm-lipo llvm-lipo-14 PATHS ${llvm_bins} REQUIRED)
find_program(TROVIK_OBJDUMP NAMES llvm-objdump llvm-objdump-14 PATHS ${llvm_bins} REQUIRED)
find_program(TROVIK_LLVM_NM NAMES llvm-nm llvm-nm-14 PATHS ${llvm_bins} REQUIRED)
# The C library as macOS 11 exports it: zig carries Apple's text stub of libSystem.
get_filename_component(zig_dir ${TROVIK_ZIG} DIRECTORY)
set(TROVIK_LIBSYSTEM ${zig_dir}/lib/libc/darwin/libSystem.11.tbd)
