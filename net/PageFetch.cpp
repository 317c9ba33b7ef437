#include "net/PageFetch.h"

#include "platform/Cp932.h"
#include "platform/Transfer.h"

FetchResult fetchResultOf(const platform::TransferResult &transfer)
{
    using Status = platform::TransferResult::Status;
    switch (transfer.status) {
    case Status::Ok:
        return FetchResult::success(transfer.httpStatus, QString());
    case Status::HttpError:
        return FetchResult::failed(FetchFailure::HttpStatus, transfer.errorText, transfer.httpStatus);
    case Status::TimedOut:
        return FetchResult::failed(FetchFailure::TimedOut, QString(), transfer.httpStatus);
    case Status::Cancelled:
        return FetchResult::failed(FetchFailure::Superseded, transfer.errorText);
    case Status::FileError:
        return FetchResult::failed(FetchFailure::Unwritable, transfer.errorText, transfer.httpStatus);
    case Status::Failed:
        break;
    }
    return FetchResult::failed(FetchFailure::ConnectionError, transfer.errorText, transfer.httpStatus);
}

FetchResult fetchPage(const QString &address, int timeoutSeconds)
{
    const platform::TransferResult transfer = platform::fetchBytes(address, timeoutSeconds);
    FetchResult result = fetchResultOf(transfer);
    if (result.ok())
        result.text = platform::decodeCp932(transfer.bytes);
    return result;
}

FetchResult downloadPage(const QString &address, const QString &fileName, int timeoutSeconds)
{
    return fetchResultOf(platform::downloadToFile(address, fileName, timeoutSeconds));
}
