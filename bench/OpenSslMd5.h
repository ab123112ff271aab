#pragma once

// OpenSSL's MD5 through the EVP interface: the anchor the digest benchmarks measure against.

#include <openssl/evp.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace zbench {

class OpenSslMd5 {
  public:
    OpenSslMd5() : md_(EVP_md5()), ctx_(EVP_MD_CTX_new()) {
        if (md_ == nullptr || ctx_ == nullptr)
            throw std::runtime_error("OpenSSL MD5 is not available");
    }
    ~OpenSslMd5() { EVP_MD_CTX_free(ctx_); }
    OpenSslMd5(const OpenSslMd5&) = delete;
    OpenSslMd5& operator=(const OpenSslMd5&) = delete;

    void begin() {
        if (EVP_DigestInit_ex(ctx_, md_, nullptr) != 1)
            throw std::runtime_error("EVP_DigestInit_ex failed");
    }
    void update(const void* data, std::size_t size) {
        if (EVP_DigestUpdate(ctx_, data, size) != 1)
            throw std::runtime_error("EVP_DigestUpdate failed");
    }
    // The first 8 bytes of the digest (enough to keep the work observable).
    uint64_t finish() {
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        if (EVP_DigestFinal_ex(ctx_, out, &length) != 1)
            throw std::runtime_error("EVP_DigestFinal_ex failed");
        uint64_t head = 0;
        for (int i = 0; i < 8; ++i)
            head |= uint64_t{out[i]} << (8 * i);
        return head;
    }

    uint64_t operator()(const void* data, std::size_t size) {
        begin();
        update(data, size);
        return finish();
    }

  private:
    const EVP_MD* md_;
    EVP_MD_CTX* ctx_;
};

} // namespace zbench
