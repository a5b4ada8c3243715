# SPDX-License-Identifier: MIT
# Run by CPack on the staged files before it packs them: every date becomes
# SOURCE_DATE_EPOCH (the last commit's, set by scripts/check-deb), so that two
# builds of one commit give the same package, byte for byte.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    return()
endif()
execute_process(
    COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
    COMMAND_ERROR_IS_FATAL ANY)
