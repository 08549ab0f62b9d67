# Runs one scenario script and compares its transcript with the expected one.
#   cmake -DHOST=... -DSCRIPT=x.scenario [-DEMULATOR=wine] [-DHOST_ARGS=--com]
#         -P RunScenario.cmake
# A Windows host (run by EMULATOR) ends its lines with CR LF: they compare as LF.
# Expected files beside the script: x.expected (standard output), and optionally
# x.status (exit status, default 0) and x.stderr (standard error; otherwise ignored).
get_filename_component(dir "${SCRIPT}" DIRECTORY)
get_filename_component(name "${SCRIPT}" NAME_WE)
get_filename_component(file "${SCRIPT}" NAME)

# Under Wine a program now and then fails to start at all, on a machine busy with other
# tests: no output, no error, a failing status at once. Every scenario prints something,
# so such a run is tried once more; a run that printed anything counts as it is.
foreach(attempt RANGE 1 2)
    execute_process(
        COMMAND ${EMULATOR} "${HOST}" ${HOST_ARGS} --script "${file}"
        WORKING_DIRECTORY "${dir}"
        OUTPUT_VARIABLE out
        ERROR_VARIABLE err
        RESULT_VARIABLE status)
    if(EMULATOR AND NOT status EQUAL 0 AND out STREQUAL "" AND err STREQUAL "")
        message("the emulator started nothing (exit status ${status}), attempt ${attempt}")
        continue()
    endif()
    break()
endforeach()

if(EMULATOR)
    string(REPLACE "\r\n" "\n" out "${out}")
    string(REPLACE "\r\n" "\n" err "${err}")
endif()

set(want_status 0)
if(EXISTS "${dir}/${name}.status")
    file(READ "${dir}/${name}.status" want_status)
    string(STRIP "${want_status}" want_status)
endif()
file(READ "${dir}/${name}.expected" want_out)

set(failed FALSE)
if(NOT status STREQUAL want_status)
    message("exit status ${status}, expected ${want_status}")
    set(failed TRUE)
endif()
if(NOT out STREQUAL want_out)
    file(WRITE "${OUT_DIR}/${name}.actual" "${out}")
    message("transcript differs from ${name}.expected; got (also in ${OUT_DIR}/${name}.actual):\n${out}")
    set(failed TRUE)
endif()
if(EXISTS "${dir}/${name}.stderr")
    file(READ "${dir}/${name}.stderr" want_err)
    if(NOT err STREQUAL want_err)
        message("standard error differs from ${name}.stderr; got:\n${err}")
        set(failed TRUE)
    endif()
endif()
# In a sanitized build a report fails the scenario whatever the exit status.
if(err MATCHES "ERROR: [A-Za-z]+Sanitizer|runtime error: ")
    message("a sanitizer reported a fault")
    set(failed TRUE)
endif()
if(failed)
    message("standard error:\n${err}")
    message(FATAL_ERROR "scenario ${name} failed")
endif()
