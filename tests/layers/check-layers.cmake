# Fails when a source folder includes from a folder that is not below it in
# the layering of ARCHITECTURE.md, or when a plain C++ layer includes Qt.
#   cmake -DSOURCE_DIR=<checkout> -P check-layers.cmake

cmake_minimum_required(VERSION 3.25)

# Each folder's height; a folder may include only from lower ones, so folders
# of the same height never include each other and no cycle can form.
set(layers base engine reportlayout ledger ui report calculator info preview app)
set(height_base 0)
set(height_engine 1)
set(height_reportlayout 1)
set(height_ledger 2)
set(height_ui 2)
set(height_report 3)
set(height_calculator 3)
set(height_info 3)
set(height_preview 4)
set(height_app 5)
set(plain_layers base engine reportlayout ledger)
# The plain C++ parts of Qt layers, built as libraries of their own.
set(plain_files
  calculator/calculatorengine.h calculator/calculatorengine.cpp
  app/settingsfile.h app/settingsfile.cpp app/pricesettings.h app/pricesettings.cpp)

set(faults "")
foreach(layer ${layers})
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  if(NOT files)
    list(APPEND faults "${layer}/ holds no sources")
  endif()
  foreach(file ${files})
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(include ${includes})
      if(include MATCHES "include[ \t]*\"([A-Za-z0-9_]+)/")
        set(used ${CMAKE_MATCH_1})
        if(NOT used STREQUAL layer)
          if(NOT DEFINED height_${used})
            list(APPEND faults "${file}: ${include} (not a layer)")
          elseif(NOT height_${used} LESS height_${layer})
            list(APPEND faults "${file}: ${include} (${used}/ is not below ${layer}/)")
          endif()
        endif()
      elseif((layer IN_LIST plain_layers OR file IN_LIST plain_files)
             AND include MATCHES "include[ \t]*<Q")
        list(APPEND faults "${file}: ${include} (plain C++)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layering:\n  ${text}")
endif()
message(STATUS "Every include points down the layers")
