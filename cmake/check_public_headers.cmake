# Fails when kwfilter.h reaches a header that is internal to the library.
set(internal
  core/part_plan.h core/part_set.h core/stitch_compare.h core/sample_design.h core/colors.h core/endian.h
  compress/limited_memory.h compress/glstream.h formats/pe_codec.h platform/png.h
  design/cnd_records.h)
foreach(h ${internal})
  list(FIND KW_PUBLIC_HEADERS ${h} found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "kwfilter.h reaches the internal header ${h}")
  endif()
endforeach()
list(LENGTH KW_PUBLIC_HEADERS n)
message(STATUS "kwfilter.h reaches ${n} public headers, none of them internal")
