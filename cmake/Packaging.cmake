# Installed files and the Debian package (tools/package runs CPack on the build tree).
# The application id org.dpx.DPX names the desktop entry, the AppStream data and the icon.
set(DPX_APP_ID org.dpx.DPX)
include(GNUInstallDirs)

install(FILES packaging/${DPX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${DPX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 64)
  set(icon res/art/128-${size}.png)
  if(size EQUAL 64)
    set(icon res/art/128.png) # the 64-pixel original
  endif()
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${DPX_APP_ID}.png)
endforeach()
# udev reads rules from /usr/lib/udev/rules.d (the package's prefix); see the README for
# installing it by hand under another prefix.
install(FILES packaging/70-dpx-vks-box.rules DESTINATION lib/udev/rules.d)

# Compressed as Debian wants them: the manual page and the changelog.
set(dpx_gz_dir ${PROJECT_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${dpx_gz_dir}/dpx.1.gz ${dpx_gz_dir}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${dpx_gz_dir}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/dpx.1 > ${dpx_gz_dir}/dpx.1.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${dpx_gz_dir}/changelog.gz
  DEPENDS packaging/dpx.1 packaging/debian/changelog VERBATIM)
add_custom_target(dpx_docs ALL DEPENDS ${dpx_gz_dir}/dpx.1.gz ${dpx_gz_dir}/changelog.gz)
install(FILES ${dpx_gz_dir}/dpx.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dpx_gz_dir}/changelog.gz packaging/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dpx)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dpx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The DPX developers <dpx@dpx.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion for the VKS key telephone")
# The synopsis is the summary; these lines follow it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "DPX mirrors a VKS key telephone on the PC through its USB box: the display,
the lamps and the keys, who is calling, and the ring. It dials numbers from
its address book and from tel: links.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # dpx_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # Depends from dpkg-shlibdeps, plus what is loaded at run time:
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, pulseaudio | pipewire-pulse")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
