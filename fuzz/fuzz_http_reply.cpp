// The verdict on a whole HTTP reply, raw bytes as the socket collected them.
#include "FuzzSupport.h"

#include "net/RawHttp.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply = fuzz::bytes(data, size);
    const qsizetype body = replyBodyStart(reply);
    if (body < -1 || body > reply.size())
        abort();
    const FetchResult result = judgeReply(reply);
    if (result.ok() && (result.httpStatus != 200 || body < 0))
        abort();
    if (!result.ok() && !result.text.isEmpty())
        abort();
    fuzz::keep(result.reason());
    return 0;
}
