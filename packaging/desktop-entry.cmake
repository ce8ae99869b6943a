# Writes the desktop entry ENTRY from its template TEMPLATE, starting PROGRAM
# (an absolute path), at install time, when the prefix is known. A path with
# a character that desktops read specially in Exec (a space, a quote, $ and
# the like) is quoted as desktop entries require: in double quotes, with ", `,
# $ and \ escaped by a backslash, and then every backslash escaped once more
# as in any string value; a % is written %%.
file(READ "${TEMPLATE}" entry)
set(exec "${PROGRAM}")
if(exec MATCHES "[][ \t\n\"'\\\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
  string(REPLACE "\\" "\\\\" exec "${exec}")
endif()
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "@EXEC@" "${exec}" entry "${entry}")
file(WRITE "${ENTRY}" "${entry}")
