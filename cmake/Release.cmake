# SPDX-License-Identifier: GPL-3.0-or-later
# The release date of CMakeLists.txt in the two other forms its users need: seconds since the
# epoch (SOURCE_DATE_EPOCH, so that generated pages carry the release's date, not the build's)
# and the RFC 2822 form of the Debian changelog.
if(NOT FRAMEWRIGHT_RELEASE_DATE MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
    message(FATAL_ERROR "FRAMEWRIGHT_RELEASE_DATE must be YYYY-MM-DD, not '${FRAMEWRIGHT_RELEASE_DATE}'")
endif()
foreach(form IN ITEMS "EPOCH:+%s" "RFC2822:-R")
    string(REPLACE ":" ";" form ${form})
    list(GET form 0 name)
    list(GET form 1 format)
    execute_process(COMMAND date -u -d "${FRAMEWRIGHT_RELEASE_DATE} 00:00:00" ${format}
        OUTPUT_VARIABLE FRAMEWRIGHT_RELEASE_${name} OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
