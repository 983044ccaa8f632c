# cmake -DNM=... -DIMPORT_LIBRARY=... -DDLL=... -DOUTPUT=... -P delay-import-def.cmake
# Writes a module-definition file naming every function that IMPORT_LIBRARY imports from DLL.
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIBRARY}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
# A function's member defines its call thunk as a text symbol; data imports have none.
string(REGEX MATCHALL "[0-9a-fA-F]+ T [A-Za-z_][A-Za-z0-9_@?$]*" thunks "${symbols}")
set(names "")
foreach(thunk ${thunks})
    string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${thunk}")
    list(APPEND names "${name}")
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
list(JOIN names "\n" exports)
file(WRITE ${OUTPUT} "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
