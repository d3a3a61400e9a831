# Fails if MODULE needs the HTTP client library or the TLS and crypto libraries it brings: they
# belong to the HTTP module, loaded only when a printer is asked.
execute_process(COMMAND readelf -d ${MODULE} OUTPUT_VARIABLE dynamic RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${MODULE}")
endif()
if(NOT dynamic MATCHES "NEEDED")
  message(FATAL_ERROR "${MODULE} lists no needed libraries at all")
endif()
foreach(library libcurl libcpp-httplib libssl libcrypto libbrotli libnghttp2)
  if(dynamic MATCHES "\\[${library}[.-]")
    message(FATAL_ERROR "${MODULE} needs ${library}")
  endif()
endforeach()
