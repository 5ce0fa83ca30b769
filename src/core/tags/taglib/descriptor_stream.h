#pragma once
// A file already opened, read by TagLib through its descriptor: the file's
// name goes through the program's own name conversion when it is opened, so
// TagLib never sees it (it would take a name as its own encoding). Reading
// only; the writing calls change nothing.

#include "core/native/unique_fd.h"

#include <string>
#include <taglib/tiostream.h>

namespace listora {

class DescriptorStream : public TagLib::IOStream {
public:
    // `typeName` is what TagLib guesses the kind of file from ("x.mp3").
    DescriptorStream(UniqueFd fd, std::string typeName);

    TagLib::FileName name() const override { return typeName_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return static_cast<bool>(fd_); }
    void seek(long offset, Position from) override;
    long tell() const override { return position_; }
    long length() override { return size_; }
    void truncate(long) override {}

private:
    UniqueFd fd_;
    std::string typeName_;
    long size_ = 0;
    long position_ = 0;
};

}  // namespace listora
