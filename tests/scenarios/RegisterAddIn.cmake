# Registers the add-in DLL for the current user, as its installer does:
#   cmake -DEMULATOR=wine64 -DDLL=/path/vantorel.dll -P RegisterAddIn.cmake
# Under Wine the DLL's path is given in Windows' form (drive Z: is the root folder).
string(REPLACE "/" "\\" windows_path "Z:${DLL}")
execute_process(COMMAND ${EMULATOR} regsvr32 /s "${windows_path}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "regsvr32 ${windows_path} failed (${status})")
endif()
