# cmake -DREADME=... "-DSOURCES=a;b" -P ReadmeShows.cmake: passes when the
# README shows each source file whole, as it is, so that the code a reader
# copies is the code the consumer tests build and run.
file(READ "${README}" readme)
foreach(source IN LISTS SOURCES)
  file(READ "${source}" code)
  string(FIND "${readme}" "${code}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${README} does not show ${source} as it is")
  endif()
endforeach()
