# merventa_folder(CORE a b ... UI c d ...) adds the modules of the current folder to the two
# libraries: the CORE modules to merventa_core, the UI modules (with their .ui form when
# they have one) to merventa_ui. A module is a .h/.cpp pair.
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
