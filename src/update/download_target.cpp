#include "update/download_target.h"

#include <algorithm>

#include "update/resume_trailer.h"

namespace update {

bool DownloadTarget::Open(int& connectionCount) {
    if (file_.IsOpen()) return true;
    const int64_t freeBytes = file_.FreeBytes();
    if (freeBytes < 0 || (total >= 0 && total >= freeBytes)) return false;
    if (!file_.Open()) return false;
    trailerSize_ = 0;
    if (!resumable) return file_.Resize(0);
    if (ResumeFromTrailer()) return true;
    return StartOver(connectionCount);
}

bool DownloadTarget::ResumeFromTrailer() {
    const int64_t size = file_.Size();
    if (size <= 0) return false;
    uint8_t tail[kTrailerMaxSize];
    const size_t tailSize = static_cast<size_t>(std::min<int64_t>(size, kTrailerMaxSize));
    if (!file_.ReadAt(size - static_cast<int64_t>(tailSize), tail, tailSize)) return false;
    const LoadedTrailer trailer = ReadTrailer(tail, tailSize, size, total);
    if (trailer.verdict != TrailerVerdict::kResumable) return false;
    segments.Load(trailer.records, trailer.count);
    downloaded = total - segments.MissingBytes();
    trailerSize_ = trailer.size;
    return true;
}

bool DownloadTarget::StartOver(int& connectionCount) {
    if (connectionCount == 0) connectionCount = 5;
    connectionCount = std::min(connectionCount, SegmentTable::kSlots);
    segments.StartWhole(total);
    downloaded = 0;
    // From an empty file: nothing of an earlier, unusable file may pass for downloaded data.
    if (file_.Resize(0) && file_.Resize(total)) return true;
    file_.Resize(0);
    return false;
}

bool DownloadTarget::WriteBlock(DownloadSegment* segment, const void* data, size_t count) {
    if (!resumable) {
        if (!file_.WriteAt(downloaded, data, count)) return false;
        downloaded += static_cast<int64_t>(count);
        return true;
    }
    // A block past the segment's end would land on another connection's bytes.
    if (!segment || static_cast<int64_t>(count) > segment->Missing()) return false;
    if (!file_.WriteAt(segment->NextByte(), data, count)) return false;
    segment->received += static_cast<int64_t>(count);
    downloaded += static_cast<int64_t>(count);
    return WriteTrailer();
}

// The data never reaches past the total, so the trailer can be rewritten in place after it.
bool DownloadTarget::WriteTrailer() {
    const TrailerBytes trailer = EncodeTrailer(segments);
    if (trailer.size && !file_.WriteAt(total, trailer.bytes, trailer.size)) return false;
    if (trailer.size < trailerSize_ && !file_.Resize(total + static_cast<int64_t>(trailer.size))) return false;
    trailerSize_ = trailer.size;
    return true;
}

bool DownloadTarget::Rewind() {
    downloaded = 0;
    // Nothing of the answer that broke off is kept, not even the size it claimed.
    total = -1;
    return !file_.IsOpen() || file_.Resize(0);
}

bool DownloadTarget::Finish(bool succeeded) {
    if (!file_.IsOpen()) return succeeded;
    // Writes that did not land leave nothing in the file that could be trusted.
    const bool landed = file_.Flush();
    succeeded = landed && succeeded;
    if (succeeded) {
        if (trailerSize_) file_.Resize(total);
    } else if (!landed || !(resumable && !segments.Empty() && WriteTrailer())) {
        file_.Resize(0);
    }
    trailerSize_ = 0;
    file_.Close(lastModified);
    return succeeded;
}

void DownloadTarget::Reset() {
    total = -1;
    downloaded = 0;
    resumable = false;
    lastModified.reset();
    segments.Clear();
    trailerSize_ = 0;
}

}  // namespace update
