# Run by CPack on the staged files, just before it makes the .deb: what Debian's policy wants
# of a package beyond what the install rules put in place.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# A package of a folder configured for a plain install would put a game in /usr/bin, built
# without Debian's flags: better none at all.
if(NOT EXISTS "${root}/games/zurevavud-cli")
    message(FATAL_ERROR "The package's programs belong in /usr/games: make it with "
        "packaging/build-deb, which configures a folder of its own for it.")
endif()

# The programs stripped as dh_strip strips them: no symbols, no .comment (the compiler's name and
# version), no .note.
file(GLOB programs "${root}/games/*" "${root}/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_ZUREVAVUD_STRIP}" --remove-section=.comment
        --remove-section=.note "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# What lintian says of the window that is not so, with the reason (lintian-overrides).
if(EXISTS "${root}/games/zurevavud")
    file(MAKE_DIRECTORY "${root}/share/lintian/overrides")
    file(COPY_FILE "${CPACK_ZUREVAVUD_LINTIAN_OVERRIDES}"
        "${root}/share/lintian/overrides/zurevavud")
endif()

# Manual pages of every section and language, and the changelog, compressed reproducibly (no
# name, no time stamp).
file(COPY_FILE "${CPACK_ZUREVAVUD_CHANGELOG}" "${root}/share/doc/zurevavud/changelog")
file(GLOB_RECURSE pages "${root}/share/man/*")
foreach(file IN LISTS pages ITEMS "${root}/share/doc/zurevavud/changelog")
    execute_process(COMMAND gzip -9n "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
