# The help document Guida.pdf, written beside the program from the help texts of
# app/HelpTexts.cpp by a small build tool; rebuilt whenever the texts or the logo change.
add_executable(make_guida "${CMAKE_CURRENT_LIST_DIR}/make_guida.cpp")
target_link_libraries(make_guida PRIVATE merventa_core Qt6::Gui)
set_target_properties(make_guida PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tools")

set(MERVENTA_GUIDA_PDF "${MERVENTA_APP_DIR}/Guida.pdf")
set(MERVENTA_GUIDA_LOGO "${CMAKE_SOURCE_DIR}/resources/logo/logo.png")
add_custom_command(
    OUTPUT "${MERVENTA_GUIDA_PDF}"
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:make_guida> "${MERVENTA_GUIDA_PDF}" "${MERVENTA_GUIDA_LOGO}"
    DEPENDS make_guida "${MERVENTA_GUIDA_LOGO}"
    COMMENT "Generating Guida.pdf"
    VERBATIM)
add_custom_target(guida_pdf DEPENDS "${MERVENTA_GUIDA_PDF}")
# Building the program builds its help document; the program target is defined after this
# folder, so the link is made once the parent folder is complete.
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}/src" CALL add_dependencies merventa guida_pdf)
