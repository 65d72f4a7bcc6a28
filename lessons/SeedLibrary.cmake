# Puts each shipped lesson library (oxa, html) into DEST unless DEST already
# has one: the libraries beside the program are the user's, whose own
# lessons a rebuild must not replace. Delete DEST to take the shipped ones again.
foreach(kind oxa html)
  if(NOT EXISTS "${DEST}/${kind}")
    file(COPY "${SOURCE}/${kind}" DESTINATION "${DEST}")
  endif()
endforeach()
