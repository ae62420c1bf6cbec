# kel_windows_resources(TARGET NAME DESCRIPTION [ICON])
# Gives a Windows program its version information, the UTF-8 manifest and,
# with ICON, the program icon.
function(kel_windows_resources target description)
    cmake_parse_arguments(R "ICON" "" "" ${ARGN})
    set(KEL_RC_NAME ${target})
    set(KEL_RC_FILE ${target}.exe)
    set(KEL_RC_DESCRIPTION ${description})
    set(KEL_RC_DIR ${PROJECT_SOURCE_DIR}/packaging/windows)
    set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/kel.rc.in ${_rc} @ONLY)
    target_sources(${target} PRIVATE ${_rc})
    set_source_files_properties(${_rc} PROPERTIES COMPILE_DEFINITIONS "KEL_RC_ICON=$<BOOL:${R_ICON}>"
        OBJECT_DEPENDS "${KEL_RC_DIR}/kel.ico;${KEL_RC_DIR}/kel.manifest")
endfunction()
