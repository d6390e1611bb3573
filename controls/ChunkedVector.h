#pragma once
// A sequence that takes an insert anywhere cheaply: its values lie in
// chunks of a bounded size, so an insert moves at most one chunk's values,
// and reading through it in order finds each chunk once.

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace tensim {

template <class T> class TChunkedVector {
public:
    // A chunk is split in two when it grows beyond twice this.
    static constexpr size_t ChunkSize = 512;

    size_t Size() const { return FSize; }

    // Throws std::out_of_range for an index beyond the end.
    const T& At(size_t Index) const
    {
        if (Index >= FSize) throw std::out_of_range("TChunkedVector::At");
        const size_t c = ChunkOf(Index);
        return FChunks[c][Index - FStarts[c]];
    }

    // Inserts Value before the value at Index (at the end for Size()).
    void Insert(size_t Index, const T& Value)
    {
        if (Index > FSize) throw std::out_of_range("TChunkedVector::Insert");
        if (FChunks.empty()) {
            FChunks.emplace_back();
            FStarts.push_back(0);
        }
        const size_t c = Index == FSize ? FChunks.size() - 1 : ChunkOf(Index);
        std::vector<T>& chunk = FChunks[c];
        chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(Index - FStarts[c]), Value);
        ++FSize;
        for (size_t k = c + 1; k < FStarts.size(); ++k)
            ++FStarts[k];
        if (chunk.size() > 2 * ChunkSize) Split(c);
    }

    void Clear()
    {
        FChunks.clear();
        FStarts.clear();
        FSize = 0;
        FLast = 0;
    }

    // The chunks in order, for searches that look at their ends first.
    size_t ChunkCount() const { return FChunks.size(); }
    const std::vector<T>& Chunk(size_t C) const { return FChunks[C]; }
    size_t ChunkStart(size_t C) const { return FStarts[C]; }

    template <class F> void ForEach(F&& Visit) const
    {
        for (const std::vector<T>& chunk : FChunks)
            for (const T& value : chunk)
                Visit(value);
    }

private:
    // The chunk that holds Index; the last one found is tried first, so
    // reading in order costs no search.
    size_t ChunkOf(size_t Index) const
    {
        if (FLast < FChunks.size() && Index >= FStarts[FLast] &&
            Index - FStarts[FLast] < FChunks[FLast].size())
            return FLast;
        FLast = static_cast<size_t>(std::upper_bound(FStarts.begin(), FStarts.end(), Index) -
                                    FStarts.begin()) -
                1;
        return FLast;
    }

    void Split(size_t C)
    {
        std::vector<T>& chunk = FChunks[C];
        const size_t half = chunk.size() / 2;
        std::vector<T> tail(chunk.begin() + static_cast<std::ptrdiff_t>(half), chunk.end());
        chunk.resize(half);
        FChunks.insert(FChunks.begin() + static_cast<std::ptrdiff_t>(C) + 1, std::move(tail));
        FStarts.insert(FStarts.begin() + static_cast<std::ptrdiff_t>(C) + 1, FStarts[C] + half);
    }

    std::vector<std::vector<T>> FChunks;
    std::vector<size_t> FStarts; // the index of each chunk's first value
    size_t FSize = 0;
    mutable size_t FLast = 0;
};

} // namespace tensim
