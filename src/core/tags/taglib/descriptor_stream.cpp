#include "core/tags/taglib/descriptor_stream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace listora {

DescriptorStream::DescriptorStream(UniqueFd fd, std::string typeName)
    : fd_(std::move(fd)), typeName_(std::move(typeName)) {
    struct stat info {};
    if (fd_ && ::fstat(fd_.get(), &info) == 0) size_ = static_cast<long>(info.st_size);
}

TagLib::ByteVector DescriptorStream::readBlock(unsigned long length) {
    // A broken header can ask for gigabytes; no more than the file holds is
    // ever allocated.
    // TagLib's blocks count their bytes in an unsigned int.
    const long wanted = std::min<long>(static_cast<long>(std::min<unsigned long>(length, UINT_MAX)),
                                       std::max<long>(size_ - position_, 0));
    TagLib::ByteVector block(static_cast<unsigned int>(wanted), 0);
    long got = 0;
    while (got < wanted) {
        const ssize_t n = ::pread(fd_.get(), block.data() + got, static_cast<std::size_t>(wanted - got),
                                  static_cast<off_t>(position_ + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    block.resize(static_cast<unsigned int>(got));
    position_ += got;
    return block;
}

void DescriptorStream::seek(long offset, Position from) {
    const long base = from == Beginning ? 0 : from == Current ? position_ : size_;
    long target = 0;
    // An offset read from a broken file can be anything.
    if (__builtin_add_overflow(base, offset, &target)) target = offset < 0 ? 0 : LONG_MAX;
    position_ = std::max<long>(target, 0);
}

}  // namespace listora
