# cmake -DIN=FILE -DOUT=FILE.gz -P gzip.cmake: compresses one file, without the tar wrapping.
file(ARCHIVE_CREATE OUTPUT ${OUT} PATHS ${IN} FORMAT raw COMPRESSION GZip MTIME 0)
