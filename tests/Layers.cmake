cmake_minimum_required(VERSION 3.25)
# No file includes one from a floor above its own. Each row names a folder
# and the folders its files may include from: itself and the floors beneath.
# Includes of generated forms (ui_*.h) and of Qt and the standard library are
# not the house's and are not checked here; the link lines keep those apart.
set(floors
    "rules: rules"
    "ui: rules ui"
    "game: rules ui game events endings"
    "events: rules ui game events endings"
    "endings: rules ui game events endings"
    "homepage: rules homepage"
    "tests/rules: rules support/ScriptedSeams.h"
)
set(house rules ui game events endings homepage support)

set(faults "")
foreach(row IN LISTS floors)
    string(REGEX MATCH "^([^:]+): (.*)$" _ "${row}")
    set(folder ${CMAKE_MATCH_1})
    string(REPLACE " " ";" allowed "${CMAKE_MATCH_2}")
    file(GLOB_RECURSE sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^#include \"[^\"]+\"")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "\"([^\"]+)\"" _ "${line}")
            set(included ${CMAKE_MATCH_1})
            string(REGEX MATCH "^[^/]+" top "${included}")
            if(NOT included MATCHES "/" OR NOT top IN_LIST house)
                continue()
            endif()
            set(ok FALSE)
            foreach(prefix IN LISTS allowed)
                if(included STREQUAL prefix OR top STREQUAL prefix)
                    set(ok TRUE)
                endif()
            endforeach()
            if(NOT ok)
                file(RELATIVE_PATH where ${ROOT} ${source})
                string(APPEND faults "\n  ${where} includes ${included}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "includes that run up a floor:${faults}")
endif()
message(STATUS "no include runs up a floor")
