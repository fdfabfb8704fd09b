# The password file of a new installation, unins000.dll, written beside the program with
# the initial password of app/AccessPassword.h; rewritten whenever the tool changes.
add_executable(make_password "${CMAKE_CURRENT_LIST_DIR}/make_password.cpp")
target_link_libraries(make_password PRIVATE merventa_core)
set_target_properties(make_password PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tools")

set(MERVENTA_PASSWORD_FILE "${MERVENTA_APP_DIR}/unins000.dll")
add_custom_command(
    OUTPUT "${MERVENTA_PASSWORD_FILE}"
    COMMAND $<TARGET_FILE:make_password> "${MERVENTA_PASSWORD_FILE}"
    DEPENDS make_password
    COMMENT "Generating the initial password file unins000.dll"
    VERBATIM)
add_custom_target(password_file DEPENDS "${MERVENTA_PASSWORD_FILE}")
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}/src" CALL add_dependencies merventa
               password_file)
