# SPDX-License-Identifier: GPL-3.0-or-later
# fw_add_layer(<target> SEES <folder>... SOURCES <file>... LINKS <target>...)
#
# One static library per layer. Its include path is a folder of its own holding links to exactly
# the source folders it SEES (its own and those below it), so "#include "app/uMain.h"" from a
# lower layer finds nothing and fails to compile, while an include that runs down the stack
# works as written. Whoever links the library sees what the library sees; Designer forms'
# generated headers go with their layer, since its headers include them.
function(fw_add_layer target)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "SEES;SOURCES;LINKS")
    if(NOT layer_SEES OR NOT layer_SOURCES OR layer_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "fw_add_layer(${target} SEES <folder>... SOURCES <file>... LINKS ...)")
    endif()
    set(view ${PROJECT_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view})
    foreach(folder IN LISTS layer_SEES)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
    endforeach()
    add_library(${target} STATIC ${layer_SOURCES})
    target_include_directories(${target} PUBLIC ${view}
        ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/include)
    target_link_libraries(${target} PUBLIC ${layer_LINKS})
endfunction()
