# Run by CPack on the staged files, just before it makes the .deb: what Debian's policy wants
# of a package beyond what the install rules put in place.

# Manual pages and the changelog compressed, reproducibly (no name, no time stamp).
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(COPY_FILE "${CPACK_ZUREVAVUD_CHANGELOG}" "${root}/share/doc/zurevavud/changelog")
file(GLOB pages "${root}/share/man/man1/*.1")
foreach(file IN LISTS pages ITEMS "${root}/share/doc/zurevavud/changelog")
    execute_process(COMMAND gzip -9n "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
