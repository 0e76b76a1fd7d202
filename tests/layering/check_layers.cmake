cmake_minimum_required(VERSION 3.25)
# Checks the layers and the two modes. Run as: cmake -DSOURCE_DIR=<project root> -P check_layers.cmake
#
# Layers point only down:
#   support -> output -> scanner -> parser | occam2/scanner -> occam2/tree -> occam2/parser
#     -> occam2/resolve -> occam2/handelc | occam2/graph -> driver
# A file belongs to the deepest layer folder that holds it (at any depth below it), and may include
# headers of its own layer and of the layers below, never of a layer above; the default mode's
# parser and the occam 2 scanner, and the Handel-C writer and the process network, stand side by
# side, neither including the other.
#
# The two modes share the lower layers and neither includes the other's code: a file of the
# occam 2 mode (occam2/..., driver/occam2_*) includes no header of the default
# mode's own (its scanner, grammar, actions, Fragment list and translation), and a file of the
# default mode includes no header of the occam 2 mode.
set(layers support output scanner parser occam2/scanner occam2/tree occam2/parser occam2/resolve occam2/handelc occam2/graph driver)
set(ranks  0       1      2       3      3              4           5             6              7              7            8)
set(default_mode_files
  scanner/scanner.h scanner/scanner.cpp scanner/tokens.h
  parser/grammar.y parser/actions.h parser/action_context.h parser/action_state.h parser/parse_entry.h
  parser/translation_state.h parser/held_fragments.cpp parser/generated_tables.h parser/generated_actions.h
  output/fragments.h output/fragments.cpp output/capture.h output/capture.cpp output/replicated_par.h
  output/replicated_par.cpp output/text_cache.h output/banners.h output/banners.def output/template_merge.h
  output/template_merge.cpp driver/translation.h driver/translation.cpp)

function(mode_of path result)
  if(path MATCHES "^occam2/" OR path MATCHES "^driver/occam2_")
    set(${result} occam2 PARENT_SCOPE)
  elseif(path MATCHES "^parser/actions_" OR path IN_LIST default_mode_files)
    set(${result} default PARENT_SCOPE)
  else()
    set(${result} shared PARENT_SCOPE)
  endif()
endfunction()

# The layer a path belongs to: the longest layer folder that is a prefix of it; -1 for none.
function(layer_of path result)
  set(found -1)
  set(found_length 0)
  set(index 0)
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${layer}/" AND length GREATER found_length)
      set(found ${index})
      set(found_length ${length})
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

set(violations "")
set(checked 0)
foreach(top IN ITEMS support output scanner parser occam2 driver)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${top}/*.h ${SOURCE_DIR}/${top}/*.cpp ${SOURCE_DIR}/${top}/*.def)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
    layer_of("${shown}" layer)
    mode_of("${shown}" mode)
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${file} includes REGEX "^#include \"[a-z0-9_/]+\\.[a-z]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      layer_of("${included}" included_layer)
      if(included_layer GREATER -1 AND layer GREATER -1 AND NOT included_layer EQUAL layer)
        list(GET ranks ${layer} rank)
        list(GET ranks ${included_layer} included_rank)
        if(NOT included_rank LESS rank)
          string(APPEND violations "  ${shown}: ${line} (a layer not below ${shown}'s)\n")
        endif()
      endif()
      mode_of("${included}" included_mode)
      if((mode STREQUAL "occam2" AND included_mode STREQUAL "default") OR
         (mode STREQUAL "default" AND included_mode STREQUAL "occam2"))
        string(APPEND violations "  ${shown}: ${line} (the ${included_mode} mode's code, from the ${mode} mode's)\n")
      endif()
    endforeach()
  endforeach()
endforeach()
# The occam 2 mode's own layers, in occam2/: scanner | tree -> parser -> resolve, the scanner and
# the tree side by side, and above resolve the Handel-C writer and the process network side by
# side, neither including the other. None of them includes the driver.
set(occam2_layers scanner tree parser resolve handelc graph)
set(occam2_ranks 0 0 1 2 3 3)
foreach(layer IN LISTS occam2_layers)
  list(FIND occam2_layers ${layer} index)
  list(GET occam2_ranks ${index} rank)
  file(GLOB files ${SOURCE_DIR}/occam2/${layer}/*.h ${SOURCE_DIR}/occam2/${layer}/*.cpp ${SOURCE_DIR}/occam2/${layer}/*.def)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^#include \"(occam2/[a-z_]+|driver)/")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
      if(line MATCHES "^#include \"driver/")
        string(APPEND violations "  ${shown}: ${line} (the driver is above occam2/${layer})\n")
        continue()
      endif()
      string(REGEX REPLACE "^#include \"occam2/([a-z_]+)/.*" "\\1" included "${line}")
      list(FIND occam2_layers ${included} included_index)
      if(included_index EQUAL -1 OR included STREQUAL layer)
        continue()
      endif()
      list(GET occam2_ranks ${included_index} included_rank)
      if(NOT included_rank LESS rank)
        string(APPEND violations "  ${shown}: ${line} (occam2/${included} is not below occam2/${layer})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "layers or modes crossed:\n${violations}")
endif()
message(STATUS "${checked} files: every one includes only headers of its own layer and below, and of its own mode or shared ones")
