# Fails when a source file under src/ includes a folder that is not below its own.
# Run as: cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
cmake_policy(VERSION 3.25)
#
# The folders and what each may include besides itself, lowest first. Folders on
# one level do not include each other, so no two folders can include each other
# in a circle.
set(layers
    "odbc:"
    "framework:odbc"
    "catalog/recordsets:odbc"
    "connection:catalog/recordsets,framework,odbc"
    "console:connection,catalog/recordsets,framework,odbc"
    "results:connection,catalog/recordsets,framework,odbc"
    "catalog:connection,catalog/recordsets,framework,odbc"
    "wizards:connection,catalog/recordsets,framework,odbc"
    "syntax:connection,catalog/recordsets,framework,odbc"
    "app:console,results,catalog,wizards,syntax,connection,catalog/recordsets,framework,odbc")

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers: SOURCE_DIR is not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(known "")
foreach(layer IN LISTS layers)
    string(REGEX REPLACE ":.*" "" folder "${layer}")
    list(APPEND known "${folder}")
endforeach()

# The folder a path inside src/ belongs to: the longest known folder it starts with.
function(owner_of path out)
    set(best "")
    foreach(folder IN LISTS known)
        string(LENGTH "${folder}" length)
        string(SUBSTRING "${path}" 0 ${length} head)
        string(LENGTH "${best}" bestLength)
        if(head STREQUAL folder AND length GREATER bestLength)
            string(SUBSTRING "${path}/" ${length} 1 next)
            if(next STREQUAL "/")
                set(best "${folder}")
            endif()
        endif()
    endforeach()
    set(${out} "${best}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(failures 0)
foreach(file IN LISTS files)
    owner_of("${file}" from)
    if(from STREQUAL "")
        continue() # main.cpp links everything
    endif()
    set(allowed "${from}")
    foreach(layer IN LISTS layers)
        string(REGEX REPLACE ":.*" "" folder "${layer}")
        if(folder STREQUAL from)
            string(REGEX REPLACE "^[^:]*:" "" below "${layer}")
            string(REPLACE "," ";" below "${below}")
            list(APPEND allowed ${below})
        endif()
    endforeach()
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
        get_filename_component(targetFolder "${target}" DIRECTORY)
        if(targetFolder STREQUAL "")
            message(SEND_ERROR "${file}: include \"${target}\" names no folder")
            math(EXPR failures "${failures} + 1")
            continue()
        endif()
        owner_of("${targetFolder}" to)
        if(to STREQUAL "")
            message(SEND_ERROR "${file}: include \"${target}\" is outside the known folders")
            math(EXPR failures "${failures} + 1")
        elseif(NOT to IN_LIST allowed)
            message(SEND_ERROR "${file}: ${from}/ may not include ${to}/ (\"${target}\")")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
endforeach()

list(LENGTH files count)
if(failures GREATER 0)
    message(FATAL_ERROR "${failures} include(s) against the folder order")
endif()
message(STATUS "${count} files: every include runs down the folder order")
