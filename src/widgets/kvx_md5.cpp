#include <nettle/md5.h>

#include <new>

#include "orbe/widgets/kvx_functions.h"

namespace {

static_assert(sizeof(md5_ctx) <= sizeof(KVX_MD5_CTX::opaque), "KVX_MD5_CTX too small for the digest state");
static_assert(alignof(md5_ctx) <= alignof(KVX_MD5_CTX));
static_assert(MD5_DIGEST_SIZE == 16);

md5_ctx* StateOf(KVX_MD5_CTX* context) { return std::launder(reinterpret_cast<md5_ctx*>(context->opaque)); }

}  // namespace

void KVX_MD5Init(KVX_MD5_CTX* context) {
  if (context == nullptr) return;
  md5_init(new (context->opaque) md5_ctx);
}

void KVX_MD5Update(KVX_MD5_CTX* context, const unsigned char* input, unsigned int length) {
  if (context == nullptr || input == nullptr || length == 0) return;
  md5_update(StateOf(context), length, input);
}

void KVX_MD5Final(unsigned char digest[16], KVX_MD5_CTX* context) {
  if (context == nullptr || digest == nullptr) return;
  md5_digest(StateOf(context), MD5_DIGEST_SIZE, digest);
}
