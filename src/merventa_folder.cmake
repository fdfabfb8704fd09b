# Adds the modules of the current folder to the two libraries: files listed in
# MERVENTA_UI_MODULES (base names) and every .ui form go to merventa_ui, the rest to
# merventa_core. A module is a .h/.cpp pair (and its .ui when it is a screen).
function(merventa_folder)
    cmake_parse_arguments(F "" "" "UI;CORE" ${ARGN})
    foreach(m ${F_CORE})
        target_sources(merventa_core PRIVATE ${m}.cpp ${m}.h)
    endforeach()
    foreach(m ${F_UI})
        set(files ${m}.cpp ${m}.h)
        if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${m}.ui")
            list(APPEND files ${m}.ui)
        endif()
        target_sources(merventa_ui PRIVATE ${files})
    endforeach()
endfunction()
