# Settings of the Windows build (build/windows), cross-compiled with MinGW-w64 against
# Qt for Windows (scripts/setup-windows unpacks both into build/toolchains/).
# Included by the top folder when CMAKE_SYSTEM_NAME is Windows.

# The compiler's runtime is linked into each of our binaries: a mail client loads many
# add-ins into one process, and a libstdc++-6.dll or libwinpthread-1.dll of another
# one must never stand in for ours. Every binary of ours then imports only system
# DLLs, Qt's and our own. What the static runtime brings is not exported again from
# our DLLs (--exclude-libs): two of ours would otherwise both offer _Unwind_Resume.
#
# MinGW's static winpthread archive holds a version resource of its own (version.o,
# "WinPthreadGC", 1.0.0.0). Linked whole into a binary it stands before the binary's
# own, and the version the system reads from vantorel.dll would be winpthread's. The
# build links a copy of the archive without it.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread.a
    OUTPUT_VARIABLE vantorel_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
set(vantorel_winpthread_copy ${CMAKE_BINARY_DIR}/winpthread/libwinpthread.a)
if(NOT EXISTS ${vantorel_winpthread_copy} OR
        ${vantorel_winpthread} IS_NEWER_THAN ${vantorel_winpthread_copy})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/winpthread)
    file(COPY_FILE ${vantorel_winpthread} ${vantorel_winpthread_copy})
    execute_process(COMMAND ${CMAKE_AR} d ${vantorel_winpthread_copy} version.o
        COMMAND_ERROR_IS_FATAL ANY)
endif()
add_link_options(-static-libgcc -static-libstdc++
    -Wl,--whole-archive ${vantorel_winpthread_copy} -Wl,--no-whole-archive
    -Wl,--exclude-libs,libgcc.a:libgcc_eh.a:libstdc++.a:libsupc++.a:libwinpthread.a:libssp.a)

# SQLite for Windows: the amalgamation made by scripts/setup-windows from Debian's
# sqlite3 source package (the version libsqlite3-dev has on Linux), compiled into a
# static library that stands in for the system's SQLite::SQLite3.
file(GLOB vantorel_sqlite_found LIST_DIRECTORIES true
    ${CMAKE_SOURCE_DIR}/build/toolchains/sqlite-*)
list(SORT vantorel_sqlite_found COMPARE NATURAL)
set(vantorel_sqlite_default "")
if(vantorel_sqlite_found)
    list(POP_BACK vantorel_sqlite_found vantorel_sqlite_default)
endif()
set(VANTOREL_SQLITE_DIR "${vantorel_sqlite_default}" CACHE PATH
    "Folder holding SQLite's amalgamation (sqlite3.c, sqlite3.h)")
if(NOT EXISTS "${VANTOREL_SQLITE_DIR}/sqlite3.c" OR NOT EXISTS "${VANTOREL_SQLITE_DIR}/sqlite3.h")
    message(FATAL_ERROR "SQLite's amalgamation is not in \"${VANTOREL_SQLITE_DIR}\": run "
        "scripts/setup-windows, or set VANTOREL_SQLITE_DIR")
endif()
enable_language(C)
# windres, for the add-in's version resource (addin/vantorel.rc.in).
enable_language(RC)
add_library(vantorel_sqlite STATIC ${VANTOREL_SQLITE_DIR}/sqlite3.c)
target_include_directories(vantorel_sqlite SYSTEM PUBLIC ${VANTOREL_SQLITE_DIR})
target_compile_definitions(vantorel_sqlite PRIVATE
    SQLITE_THREADSAFE=1
    SQLITE_OMIT_LOAD_EXTENSION)
# Third-party code: its own warnings are not ours to read.
target_compile_options(vantorel_sqlite PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS vantorel_sqlite)

# Programs that run on the build machine while building (the artwork generator) are
# built for Linux in a build of their own and named here.
set(VANTOREL_ARTWORK "" CACHE FILEPATH
    "The artwork generator (resources/artwork) built for the build machine")

# GoogleTest for Windows: built from Debian's googletest source (libgtest-dev).
set(VANTOREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source folder")

# GoogleTest's targets, under the names find_package(GTest) gives on Linux
# (GTest::gtest, GTest::gmock, ...), which its own build defines.
function(vantorel_add_windows_gtest)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VANTOREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endfunction()

# The tests run under Wine (Debian's wine64, not on PATH), each with the environment
# of VANTOREL_WINE_TEST_ENV: a Wine prefix of the build's own, Qt's offscreen platform
# (Wine hands the Windows program no host QT_* variables, but WINEQT_* as QT_*).
set(VANTOREL_WINE /usr/lib/wine/wine64 CACHE FILEPATH "Wine's 64-bit loader")
set(VANTOREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "The tests' Wine prefix")
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTOREL_WINE})
# The fonts Qt finds under Wine: the faces the Linux tests draw with, DejaVu Sans (Qt's
# default family) and Liberation Sans (the dialogs' stand-in for Tahoma). Given all of
# Debian's DejaVu folder, Qt's fallback for its default family under Wine is DejaVu Math
# TeX Gyre, and without Liberation Sans the dialogs draw in DejaVu Sans: both wider,
# and captions measured on Linux would no longer fit their boxes.
set(vantorel_test_fonts ${CMAKE_BINARY_DIR}/fonts)
file(GLOB vantorel_test_font_files
    /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
    /usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf
    /usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf
    /usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf)
file(COPY ${vantorel_test_font_files} DESTINATION ${vantorel_test_fonts})
string(REPLACE "/" "\\\\" vantorel_test_fonts_native "${vantorel_test_fonts}")
set(VANTOREL_WINE_TEST_ENV
    "WINEPREFIX=${VANTOREL_WINEPREFIX}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=mscoree,mshtml="
    "WINEQT_QPA_PLATFORM=offscreen"
    "WINEQT_QPA_FONTDIR=Z:${vantorel_test_fonts_native}")

# Qt's DLLs and plugins beside ours in bin/, as they will be deployed: the tests under
# Wine find them there, and the add-in will find its plugins from its own folder.
set(vantorel_qt_deploy)
foreach(module Core Gui Widgets)
    list(APPEND vantorel_qt_deploy COMMAND ${CMAKE_COMMAND} -E copy_if_different
        $<TARGET_FILE:Qt6::${module}> ${CMAKE_BINARY_DIR}/bin/)
endforeach()
foreach(plugin QOffscreenIntegrationPlugin QWindowsIntegrationPlugin QMinimalIntegrationPlugin)
    if(TARGET Qt6::${plugin})
        list(APPEND vantorel_qt_deploy COMMAND ${CMAKE_COMMAND} -E copy_if_different
            $<TARGET_FILE:Qt6::${plugin}> ${CMAKE_BINARY_DIR}/bin/platforms/)
    endif()
endforeach()
# The prebuilt Qt links the compiler's runtime as DLLs (libstdc++-6.dll,
# libgcc_s_seh-1.dll, libwinpthread-1.dll): they go beside Qt's until Qt itself is
# built with the runtime linked in.
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        set(runtime_path /usr/x86_64-w64-mingw32/lib/${runtime})
    endif()
    list(APPEND vantorel_qt_deploy COMMAND ${CMAKE_COMMAND} -E copy_if_different
        ${runtime_path} ${CMAKE_BINARY_DIR}/bin/)
endforeach()
add_custom_target(vantorel_qt_deploy ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/platforms
    ${vantorel_qt_deploy}
    COMMENT "Deploying Qt's DLLs and platform plugins into bin/"
    VERBATIM)
