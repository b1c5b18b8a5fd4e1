# The MD5 tests compare with OpenSSL's MD5 (libcrypto), an independent implementation.
if(TARGET native_md5_test)
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  target_link_libraries(native_md5_test PRIVATE OpenSSL::Crypto)
endif()
