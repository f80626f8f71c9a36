# cmake -DDIR=path -P fresh_dir.cmake: an empty folder at DIR, for a fuzz run's new inputs.
if(NOT DIR)
  message(FATAL_ERROR "fresh_dir.cmake: DIR is not set")
endif()
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR})
