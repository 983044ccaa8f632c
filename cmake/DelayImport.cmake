# Import libraries whose DLL loads on the program's first call into it, not with the program: the
# program confines the DLL search to system32 first, and only Known DLLs may load before that.
# updater_delay_import(user32) makes the target delay_user32, which links in place of user32.
function(updater_delay_import dll)
    find_library(${dll}_import_library ${dll} REQUIRED)
    set(import ${${dll}_import_library})
    set(folder ${CMAKE_BINARY_DIR}/delay-import)
    file(MAKE_DIRECTORY ${folder})
    set(library ${folder}/lib${dll}-delay.a)
    # dlltool names the library's symbols after the path of its output: given relative, the program
    # is the same whatever folder it is built in.
    add_custom_command(OUTPUT ${library}
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORT_LIBRARY=${import} -DDLL=${dll}.dll -DOUTPUT=${dll}.def
            -P ${CMAKE_SOURCE_DIR}/cmake/delay-import-def.cmake
        COMMAND ${CMAKE_DLLTOOL} --input-def ${dll}.def --dllname ${dll}.dll --output-delaylib lib${dll}-delay.a
        WORKING_DIRECTORY ${folder}
        DEPENDS ${import} ${CMAKE_SOURCE_DIR}/cmake/delay-import-def.cmake
        VERBATIM)
    add_custom_target(delay_${dll}_library DEPENDS ${library})
    add_library(delay_${dll} INTERFACE)
    target_link_libraries(delay_${dll} INTERFACE ${library})
    add_dependencies(delay_${dll} delay_${dll}_library)
endfunction()
