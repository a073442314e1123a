# SPDX-License-Identifier: GPL-3.0-or-later
# fw_add_layer(<target> SOURCES <file>... LINKS <target>...)
#
# One static library per layer, declared in the layer's own folder. What it links is what it
# sees: its include path is a folder of its own holding links to its own source folder and to
# the folders every layer it links sees, so "#include "app/uMain.h"" from a lower layer finds
# nothing and fails to compile, while an include that runs down the stack works as written.
# Designer forms' generated headers go with their layer, since its headers include them.
function(fw_add_layer target)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "SOURCES;LINKS")
    if(NOT layer_SOURCES OR layer_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "fw_add_layer(${target} SOURCES <file>... LINKS <target>...)")
    endif()
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(sees ${folder})
    foreach(link IN LISTS layer_LINKS)
        if(TARGET ${link})
            get_target_property(below ${link} FW_SEES)
            if(below)
                list(APPEND sees ${below})
            endif()
        endif()
    endforeach()
    list(REMOVE_DUPLICATES sees)

    set(view ${PROJECT_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view})
    foreach(seen IN LISTS sees)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${seen} ${view}/${seen} SYMBOLIC)
    endforeach()
    add_library(${target} STATIC ${layer_SOURCES})
    set_target_properties(${target} PROPERTIES FW_SEES "${sees}")
    target_include_directories(${target} PUBLIC ${view}
        ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/include)
    target_link_libraries(${target} PUBLIC ${layer_LINKS})
endfunction()
