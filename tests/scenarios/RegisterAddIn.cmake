# Registers the add-in DLL for the current user, as its installer does, and reads the
# registration back with reg query as the client will find it:
#   cmake -DEMULATOR=wine64 -DDLL=/path/vantorel.dll -P RegisterAddIn.cmake
# Under Wine the DLL's path is given in Windows' form (drive Z: is the root folder).
string(REPLACE "/" "\\" windows_path "Z:${DLL}")
execute_process(COMMAND ${EMULATOR} regsvr32 /s "${windows_path}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "regsvr32 ${windows_path} failed (${status})")
endif()

function(expect_value key option pattern)
    execute_process(COMMAND ${EMULATOR} reg query "${key}" ${option}
        OUTPUT_VARIABLE out RESULT_VARIABLE status)
    string(TOLOWER "${out}" out)
    string(TOLOWER "${pattern}" pattern)
    string(FIND "${out}" "${pattern}" found)
    if(NOT status EQUAL 0 OR found EQUAL -1)
        message(FATAL_ERROR "reg query ${key} ${option}: expected ${pattern}, got (${status}):\n${out}")
    endif()
endfunction()
set(clsid "{F1D8C358-7EB0-4442-A05E-E07F2FA5EC5C}")
expect_value("HKCU\\Software\\Microsoft\\Office\\Outlook\\Addins\\Vantorel.Connect" "/v;LoadBehavior" "0x3")
expect_value("HKCU\\Software\\Classes\\Vantorel.Connect\\CLSID" "/ve" "${clsid}")
expect_value("HKCU\\Software\\Classes\\CLSID\\${clsid}\\InprocServer32" "/ve" "${windows_path}")
