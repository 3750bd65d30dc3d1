# Makes the release zip the same bytes from any checkout, at any time, for any user: its entries
# in name order, without folders, each dated at the commit's time (SOURCE_DATE_EPOCH, else
# `git log -1 --format=%ct`) in UTC, with fixed permissions and no owner or extra time fields.
#   cmake -DZIP=<file.zip> -DSOURCE_DIR=<checkout> -DFILES=<file;file...> -P release-zip.cmake
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "No commit time for the zip's entries: not a git checkout? "
                      "Set SOURCE_DATE_EPOCH (seconds since 1970) to the commit's time.")
endif()

set(stage "${ZIP}.files")
file(REMOVE_RECURSE "${stage}")
file(REMOVE "${ZIP}")
file(MAKE_DIRECTORY "${stage}")
set(names "")
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  file(COPY_FILE "${file}" "${stage}/${name}")
  if(name MATCHES "\\.exe$")
    file(CHMOD "${stage}/${name}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD "${stage}/${name}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
  list(APPEND names "${name}")
endforeach()
list(SORT names)

# zip keeps an entry's time as local time: TZ=UTC makes it the same everywhere. -X leaves out the
# owner and the extra time fields, -D the folder entries.
execute_process(COMMAND touch -d "@${epoch}" ${names} WORKING_DIRECTORY "${stage}"
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC LC_ALL=C zip -X -D -q "${ZIP}" ${names}
                WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE "${stage}")
