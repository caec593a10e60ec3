# A business subsystem folder (shell/, invoicing/, documents/, maintenance/, ...) holds one
# subfolder per feature: the feature's logic at its top and its windows in its forms/. The
# subsystem builds two libraries from them: kavina_<name> from every feature's logic (Qt Core
# and Gui, never Widgets) and kavina_<name>_forms from every feature's forms/.
#
#   kavina_subsystem(<name> LOGIC_LINKS <libs> [LOGIC_PRIVATE <libs>] [FORMS_LINKS <libs>])
include_guard(GLOBAL)

# Logic libraries, checked once every target is known (kavina_check_logic_layers).
set_property(GLOBAL PROPERTY KAVINA_LOGIC_LIBRARIES "")

# Fails the build of a logic library when one of its files includes a Qt Widgets header: logic
# must stay testable without a display, and a widget include compiles quietly through Qt's
# common include folder.
function(kavina_forbid_widget_headers target)
  set(list ${CMAKE_CURRENT_BINARY_DIR}/${target}.sources)
  set(files "")
  foreach(f ${ARGN})
    get_filename_component(f ${f} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND files ${f})
  endforeach()
  string(REPLACE ";" "\n" lines "${files}")
  file(WRITE ${list} "${lines}\n")
  get_target_property(widget_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
  set(widget_dir "")
  foreach(d ${widget_dirs})
    if(d MATCHES "/QtWidgets$")
      set(widget_dir ${d})
    endif()
  endforeach()
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.nowidgets)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCES=${list} -DWIDGET_DIR=${widget_dir} -DTARGET=${target}
            -DSTAMP=${stamp} -P ${CMAKE_SOURCE_DIR}/cmake/CheckNoWidgetHeaders.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/CheckNoWidgetHeaders.cmake
    COMMENT "Checking that ${target} includes no widget header" VERBATIM)
  add_custom_target(${target}_no_widgets DEPENDS ${stamp})
  add_dependencies(${target} ${target}_no_widgets)
  set_property(GLOBAL APPEND PROPERTY KAVINA_LOGIC_LIBRARIES ${target})
endfunction()

function(kavina_subsystem name)
  cmake_parse_arguments(ARG "" "" "LOGIC_LINKS;LOGIC_PRIVATE;FORMS_LINKS" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB logic CONFIGURE_DEPENDS ${dir}/*/*.cpp ${dir}/*/*.h ${dir}/*/*.qrc)
  file(GLOB forms CONFIGURE_DEPENDS ${dir}/*/forms/*.cpp ${dir}/*/forms/*.h ${dir}/*/forms/*.ui)
  add_library(kavina_${name} STATIC ${logic})
  target_include_directories(kavina_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(kavina_${name} PUBLIC ${ARG_LOGIC_LINKS} PRIVATE ${ARG_LOGIC_PRIVATE})
  kavina_forbid_widget_headers(kavina_${name} ${logic})
  if(forms)
    add_library(kavina_${name}_forms STATIC ${forms})
    target_link_libraries(kavina_${name}_forms PUBLIC kavina_${name} ${ARG_FORMS_LINKS} Qt6::Widgets)
  endif()
endfunction()

# Collects every library a target links, directly or through others.
function(kavina_link_closure target out)
  set(seen "")
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo t)
    if(NOT TARGET ${t} OR t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    get_target_property(type ${t} TYPE)
    set(props INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND props LINK_LIBRARIES)
    endif()
    foreach(p ${props})
      get_target_property(libs ${t} ${p})
      if(libs)
        foreach(l ${libs})
          string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" l "${l}")
          list(APPEND todo ${l})
        endforeach()
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Refuses to configure when a logic library reaches Qt Widgets through what it links.
function(kavina_check_logic_layers)
  get_property(logic GLOBAL PROPERTY KAVINA_LOGIC_LIBRARIES)
  foreach(target ${logic})
    kavina_link_closure(${target} closure)
    if("Qt6::Widgets" IN_LIST closure OR "Qt6::PrintSupport" IN_LIST closure)
      message(FATAL_ERROR "${target} is logic but links Qt Widgets (through: ${closure})")
    endif()
  endforeach()
endfunction()
