# Read by cpack before it makes a package. Without `file` cpack stops with a cryptic
# message, and without dpkg-shlibdeps it quietly makes a package that depends on nothing:
# stop at once instead, naming the command that installs both.
if(CPACK_GENERATOR STREQUAL "DEB")
    find_program(BRINDLE_FILE_PROGRAM file)
    find_program(BRINDLE_SHLIBDEPS_PROGRAM dpkg-shlibdeps)
    if(NOT BRINDLE_FILE_PROGRAM OR NOT BRINDLE_SHLIBDEPS_PROGRAM)
        message(FATAL_ERROR "The Debian package needs `file` and `dpkg-shlibdeps` (from "
            "dpkg-dev) to find its dependencies. Install them, as root, with:\n"
            "    bash scripts/install-deps.sh --package")
    endif()
endif()
