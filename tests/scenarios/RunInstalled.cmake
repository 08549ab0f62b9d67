# Installs the build into a fresh PREFIX and runs scenarios with the installed
# program: it must find its add-in, libraries, help pages and sound beside itself.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DSCENARIOS=dir -P RunInstalled.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    OUTPUT_VARIABLE log
    ERROR_VARIABLE log
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${log}")
endif()

set(failed FALSE)
foreach(file
        bin/vantorel-host bin/libvantorel.so bin/libvantorel_platform.so
        bin/libvantorel_tools.so bin/libvantorel_outlook.so bin/reminder.wav
        bin/help/index.html share/applications/vantorel-host.desktop)
    if(NOT EXISTS "${PREFIX}/${file}")
        message("not installed: ${file}")
        set(failed TRUE)
    endif()
endforeach()

# The icons, each at its theme size (a PNG's width: the 4 bytes at offset 16).
foreach(size 48 256)
    set(icon "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/vantorel-host.png")
    if(NOT EXISTS "${icon}")
        message("not installed: ${icon}")
        set(failed TRUE)
        continue()
    endif()
    file(READ "${icon}" width OFFSET 16 LIMIT 4 HEX)
    math(EXPR width "0x${width}")
    if(NOT width EQUAL size)
        message("${icon} is ${width} px wide, not ${size}")
        set(failed TRUE)
    endif()
endforeach()

# The program and its libraries look for each other beside themselves only.
foreach(file bin/vantorel-host bin/libvantorel.so bin/libvantorel_outlook.so)
    file(READ_ELF "${PREFIX}/${file}" RPATH rpath RUNPATH runpath)
    if(NOT "${rpath}${runpath}" STREQUAL "$ORIGIN")
        message("${file} looks for libraries in \"${rpath}${runpath}\", not \"$ORIGIN\"")
        set(failed TRUE)
    endif()
endforeach()

file(READ "${PREFIX}/share/applications/vantorel-host.desktop" entry)
if(NOT entry MATCHES "\nExec=${PREFIX}/bin/vantorel-host\n")
    message("the menu entry does not start ${PREFIX}/bin/vantorel-host:\n${entry}")
    set(failed TRUE)
endif()

foreach(name remind-me reminder-road)
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env --unset=VANTOREL_ADDIN --unset=LD_LIBRARY_PATH
                "${PREFIX}/bin/vantorel-host" --script "${name}.scenario"
        WORKING_DIRECTORY "${SCENARIOS}"
        OUTPUT_VARIABLE out
        ERROR_VARIABLE err
        RESULT_VARIABLE status)
    file(READ "${SCENARIOS}/${name}.expected" want)
    if(NOT status EQUAL 0 OR NOT out STREQUAL want)
        message("the installed program ran ${name}.scenario with status ${status}; "
                "standard error:\n${err}\ntranscript:\n${out}")
        set(failed TRUE)
    endif()
endforeach()

if(failed)
    message(FATAL_ERROR "the installed program is incomplete")
endif()
file(REMOVE_RECURSE "${PREFIX}")
