# Turns the text of a stored window shape (numbers, "#" comment lines) into
# the body of an RCDATA block: each number becomes one little-endian 32-bit
# value, so the resource holds exactly the stored payload.
# Run as: cmake -DINPUT=<region text> -DOUTPUT=<file> -P RegionResource.cmake
file(STRINGS "${INPUT}" lines)
set(values "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line MATCHES "^[ \t]*$")
    continue()
  endif()
  string(REGEX MATCHALL "[^ \t]+" numbers "${line}")
  foreach(number IN LISTS numbers)
    if(NOT number MATCHES "^-?[0-9]+$")
      message(FATAL_ERROR "${INPUT}: \"${number}\" is not a whole number")
    endif()
    string(APPEND values "${number}L,\n")
  endforeach()
endforeach()
# The block's last value takes no comma.
string(REGEX REPLACE ",\n$" "\n" values "${values}")
file(WRITE "${OUTPUT}" "${values}")
