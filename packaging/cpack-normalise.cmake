# Run by cpack once the package is made. CPack gives the package's parts the
# umask's modes and the clock's times in the outer (ar) archive; Debian's
# strip-nondeterminism sets them as dpkg-deb would, the times to the release's.
find_program(strip_nondeterminism strip-nondeterminism)
if(NOT strip_nondeterminism)
  message(WARNING "strip-nondeterminism is missing: this package's bytes depend on the umask")
  return()
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${strip_nondeterminism} --type ar --normalizers +ar --timestamp $ENV{SOURCE_DATE_EPOCH}
    ${package} COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
endforeach()
