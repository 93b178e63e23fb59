# SPDX-License-Identifier: GPL-3.0-or-later
# The portable folder's own install rules, included by CMakeLists.txt: the program at the
# folder's top (settings.cfg lands beside it), register.sh, and with TITROVA_BUNDLE_QT the Qt
# libraries, plugins and font that let it run where no Qt is installed.
option(TITROVA_BUNDLE_QT "Bring Qt, its plugins and the libraries they need into the folder" ON)

if(TITROVA_BUNDLE_QT)
  # The folder runs where no Qt is installed: the program looks in its own lib/ first. An
  # old-style RPATH rather than RUNPATH, because the loader also uses it for what the bundled
  # libraries and plugins need, and LD_LIBRARY_PATH cannot put another Qt in front of it.
  set_target_properties(titrova PROPERTIES
    INSTALL_RPATH "$ORIGIN/lib"
    INSTALL_RPATH_USE_LINK_PATH OFF)
  target_link_options(titrova PRIVATE LINKER:--disable-new-dtags)
  # That also hides newer system libraries from the system's own: see app/systemLibraries.h.
  target_link_libraries(titrova PRIVATE titrova_systemlibraries)
  target_compile_definitions(titrova PRIVATE TITROVA_PREFER_SYSTEM_LIBRARIES)
else()
  # Qt comes from the system's packages, found through the usual library path; only a Qt
  # outside the system folders needs its folder written in.
  set_target_properties(titrova PROPERTIES
    INSTALL_RPATH ""
    INSTALL_RPATH_USE_LINK_PATH ON)
endif()

install(TARGETS titrova RUNTIME DESTINATION .)
install(PROGRAMS register.sh DESTINATION .)
if(TITROVA_BUNDLE_QT)
  # X11 and Wayland; images are PNG only, which Qt reads without a plugin.
  set(plugins platforms/libqxcb.so platforms/libqwayland-generic.so
    wayland-shell-integration/libxdg-shell.so wayland-decoration-client/libbradient.so)
  set(modules "")
  foreach(plugin IN LISTS plugins)
    set(file ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin})
    if(NOT EXISTS ${file})
      # Only installing needs it: a build for the tests must not.
      install(CODE "message(FATAL_ERROR \"${file} is missing: install qt6-wayland, \"
        \"or configure with -DTITROVA_BUNDLE_QT=OFF\")")
      continue()
    endif()
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${file} DESTINATION plugins/${folder})
    list(APPEND modules ${file})
  endforeach()
  # The desktop's look. The portal theme needs nothing the folder lacks. The GTK theme is
  # bundled without GTK: it uses the system's where there is one, and where there is none Qt
  # cannot load it and keeps its own look.
  foreach(plugin platformthemes/libqxdgdesktopportal.so platformthemes/libqgtk3.so)
    set(file ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin})
    if(NOT EXISTS ${file})
      install(CODE "message(FATAL_ERROR \"${file} is missing: install \"
        \"qt6-xdgdesktopportal-platformtheme and qt6-gtk-platformtheme\")")
      continue()
    endif()
    install(FILES ${file} DESTINATION plugins/platformthemes)
    if(plugin MATCHES "portal")
      list(APPEND modules ${file})
    endif()
  endforeach()
  install(FILES qt.conf DESTINATION .)
  # The system's needs glibc 2.36 (scripts/package builds one that does not: packaging/expat.sh).
  set(TITROVA_LIBEXPAT "" CACHE FILEPATH "libexpat.so.1 to bundle in place of the system's")
  install(CODE "set(TITROVA_PROGRAM \"$<TARGET_FILE:titrova>\")
    set(TITROVA_MODULES \"${modules}\")
    set(TITROVA_LIBEXPAT \"${TITROVA_LIBEXPAT}\")
    include(\"${CMAKE_CURRENT_SOURCE_DIR}/bundle.cmake\")")

  # The designed font, for systems without it (the program adds what it finds in fonts/).
  # Where Debian, Fedora and Arch keep it; a packager elsewhere sets the two paths.
  find_file(TITROVA_FONT LiberationSans-Regular.ttf
    PATHS /usr/share/fonts PATH_SUFFIXES truetype/liberation liberation-sans TTF liberation
    NO_DEFAULT_PATH DOC "Liberation Sans Regular, bundled in the portable folder")
  find_file(TITROVA_FONT_LICENCE NAMES copyright LICENSE License.txt
    PATHS /usr/share/doc/fonts-liberation /usr/share/licenses/liberation-fonts
    /usr/share/licenses/ttf-liberation NO_DEFAULT_PATH DOC "The bundled font's licence")
  if(TITROVA_FONT AND TITROVA_FONT_LICENCE)
    # Regular only: nothing in the windows is bold.
    install(FILES ${TITROVA_FONT} DESTINATION fonts)
    install(FILES ${TITROVA_FONT_LICENCE} DESTINATION licenses RENAME fonts-liberation)
  else()
    install(CODE "message(FATAL_ERROR \"Liberation Sans or its licence not found: install \"
      \"fonts-liberation, or set TITROVA_FONT and TITROVA_FONT_LICENCE\")")
  endif()
endif()
