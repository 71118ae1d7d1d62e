# Installing and the Debian package (`make package`, CPack's DEB generator).
#
#   /usr/bin                         masterdata, mdsql, mdcopy
#   /usr/lib/masterdata              the module, its libraries, the report plug-in
#                                    and the label printing library
#   /usr/share/masterdata/reports    the report and label definition files
#   /etc/masterdata                  the default settings files (conffiles)
#   /usr/share/doc/masterdata        README, CHANGELOG and the guides of docs/
#   /usr/share/applications, /usr/share/icons/hicolor
#
# The programs find the rest relative to themselves (data/routines.h,
# ProgramPaths), so an unpacked tree works as well as an installed one.

set(MD_LIBRARY_DESTINATION lib/masterdata)

# Every target defined under a folder and its sub-folders.
function(md_targets_under dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    md_targets_under(${sub} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The shared libraries of the product's folders: windows land in the existing
# libraries and a new library is taken up here without being named.
set(_md_shipped_libraries)
foreach(dir data server framework components entry forms plugins host)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    md_targets_under(${PROJECT_SOURCE_DIR}/${dir} _targets)
    foreach(t ${_targets})
      get_target_property(_type ${t} TYPE)
      if(_type STREQUAL "SHARED_LIBRARY" OR _type STREQUAL "MODULE_LIBRARY")
        list(APPEND _md_shipped_libraries ${t})
      endif()
    endforeach()
  endif()
endforeach()
set_target_properties(${_md_shipped_libraries} PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${_md_shipped_libraries} LIBRARY DESTINATION ${MD_LIBRARY_DESTINATION})

set(_md_programs masterdata mdsql mdcopy)
set_target_properties(${_md_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/../${MD_LIBRARY_DESTINATION}")
install(TARGETS ${_md_programs} RUNTIME DESTINATION bin)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/plugins/lumtab/reports/ DESTINATION share/masterdata/reports
    FILES_MATCHING PATTERN "*.frf")
install(FILES ${PROJECT_SOURCE_DIR}/host/config/softconfig.ini
    ${PROJECT_SOURCE_DIR}/host/config/colorConfig.ini DESTINATION /etc/masterdata)
# The guides for administrators, on every machine that has the program.
file(GLOB _md_guides ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${_md_guides}
    DESTINATION share/doc/masterdata)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/masterdata.desktop DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/masterdata.svg
    DESTINATION share/icons/hicolor/scalable/apps)

# The PNG sizes are drawn by the program's own icon code.
add_executable(md_iconrender ${CMAKE_CURRENT_LIST_DIR}/iconrender.cpp)
target_link_libraries(md_iconrender PRIVATE mdhost)
set(MD_ICON_FOLDER ${CMAKE_BINARY_DIR}/icons)
add_custom_command(OUTPUT ${MD_ICON_FOLDER}/hicolor/256x256/apps/masterdata.png
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:md_iconrender>
        ${MD_ICON_FOLDER}
    DEPENDS md_iconrender COMMENT "Drawing the application icon")
add_custom_target(md_icons ALL DEPENDS ${MD_ICON_FOLDER}/hicolor/256x256/apps/masterdata.png)
install(DIRECTORY ${MD_ICON_FOLDER}/hicolor DESTINATION share/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME masterdata)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Master data maintainers <masterdata@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Master data of an apparel distribution and retail system")
# Below the summary line (CPack puts it first and indents these).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Goods with size groups and colours, barcodes and hang tags, prices and costs,
clients, shops and suppliers, VIP members and cash coupons, staff and
attendance, garment repairs: windows in Chinese for back-office staff. The
data lives in SQLite, PostgreSQL or SQL Server (ODBC).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The private libraries are found through their RUNPATH ($ORIGIN); the staging
# folder is named for dpkg-shlibdeps as well.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/masterdata-${PROJECT_VERSION}-Linux/usr/${MD_LIBRARY_DESTINATION})
# What shared-library scanning cannot see: the Qt SQL drivers are loaded at run
# time, the CJK font is only named, ODBC data sources need the driver manager's tools.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc, fonts-noto-cjk, unixodbc")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsqliteodbc")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql-client, tdsodbc, odbc-mdbtools, odbc-mariadb")
# Files under /etc are the administrator's once changed: dpkg keeps them on upgrade.
set(MD_CONFFILES ${CMAKE_BINARY_DIR}/packaging/conffiles)
file(CONFIGURE OUTPUT ${MD_CONFFILES} CONTENT "/etc/masterdata/softconfig.ini\n/etc/masterdata/colorConfig.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${MD_CONFFILES})
include(CPack)
