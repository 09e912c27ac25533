# Writes OUTPUT: the version and the MD5 of each shipped corpus file, one a line. An installed
# Tamrel copies the corpus into a user's folder again when this file changes (runtime/shipped_files.h).
# Run with -DSOURCE_DIR=... -DVERSION=... -DOUTPUT=...
set(stamp "Tamrel ${VERSION}\n")
foreach(name sents.finalBI word.dictBI sents.finalMO word.dictMO)
  file(MD5 "${SOURCE_DIR}/BDict/${name}" sum)
  string(APPEND stamp "BDict/${name} ${sum}\n")
endforeach()
file(WRITE "${OUTPUT}" "${stamp}")
