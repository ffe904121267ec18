#include "components/BufferUC.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

CBufferUC Bytes(std::initializer_list<BYTE> list)
{
    return CBufferUC(list.begin(), static_cast<int>(list.size()));
}

} // namespace

TEST(BufferUC, ConstructorsFillAndRefuseNegativeSizes)
{
    EXPECT_EQ(CBufferUC().GetSize(), 0);
    EXPECT_EQ(CBufferUC().GetpBuf(), nullptr);
    const CBufferUC zeros(4);
    ASSERT_EQ(zeros.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(zeros.GetpBuf()[i], 0);
    const CBufferUC filled(3, 0xAB);
    EXPECT_EQ(filled, Bytes({0xAB, 0xAB, 0xAB}));
    EXPECT_EQ(CBufferUC(-5).GetSize(), 0);
    EXPECT_EQ(CBufferUC(-1, 7).GetSize(), 0);
    EXPECT_EQ(CBufferUC(nullptr, 10).GetSize(), 0);
}

TEST(BufferUC, ByteAccessIsBoundsChecked)
{
    CBufferUC buf(2, 0x11);
    BYTE b = 0x55;
    EXPECT_FALSE(buf.GetByte(-1, b));
    EXPECT_FALSE(buf.GetByte(2, b));
    EXPECT_EQ(b, 0x55);
    EXPECT_TRUE(buf.SetByte(0x22, 1));
    EXPECT_TRUE(buf.GetByte(1, b));
    EXPECT_EQ(b, 0x22);
    EXPECT_FALSE(buf.SetByte(0x33, 2));
    EXPECT_FALSE(buf.SetByte(0x33, -1));
    EXPECT_EQ(buf, Bytes({0x11, 0x22}));
}

TEST(BufferUC, SetBytesOnlyWhenTheyFit)
{
    CBufferUC buf(4);
    const BYTE src[] = {1, 2, 3};
    EXPECT_TRUE(buf.SetBytes(src, 3, 1));
    EXPECT_EQ(buf, Bytes({0, 1, 2, 3}));
    EXPECT_FALSE(buf.SetBytes(src, 3, 2));  // one byte past the end
    EXPECT_FALSE(buf.SetBytes(src, -1, 0));
    EXPECT_FALSE(buf.SetBytes(src, 1, -1));
    EXPECT_FALSE(buf.SetBytes(nullptr, 1, 0));
    EXPECT_FALSE(buf.SetBytes(src, 0x7FFFFFFF, 1)); // offset + count overflows int
    EXPECT_TRUE(buf.SetBytes(src, 0, 4));
    EXPECT_EQ(buf, Bytes({0, 1, 2, 3}));
    // The source may overlap the destination.
    EXPECT_TRUE(buf.SetBytes(buf.GetpBuf() + 1, 3, 0));
    EXPECT_EQ(buf, Bytes({1, 2, 3, 3}));
}

TEST(BufferUC, InitANewBufferSizeReplacesContents)
{
    CBufferUC buf = Bytes({9, 9});
    EXPECT_TRUE(buf.InitANewBufferSize(3, 0xFF));
    EXPECT_EQ(buf, Bytes({0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(buf.InitANewBufferSize(-2, 0));
    EXPECT_EQ(buf.GetSize(), 3);
    EXPECT_TRUE(buf.InitANewBufferSize(0, 0));
    EXPECT_EQ(buf.Get_m_pucBuffer(), nullptr);
}

TEST(BufferUC, CopiesAreIndependentAndOperatorsCombine)
{
    CBufferUC a = Bytes({1, 2});
    CBufferUC copy(a);
    copy.SetByte(7, 0);
    EXPECT_EQ(a, Bytes({1, 2}));
    CBufferUC assigned;
    assigned = a;
    assigned.SetByte(8, 1);
    EXPECT_EQ(a, Bytes({1, 2}));

    EXPECT_EQ(a + Bytes({3}), Bytes({1, 2, 3}));
    EXPECT_EQ(CBufferUC() + a, a);
    a += Bytes({0xF0});
    EXPECT_EQ(a, Bytes({1, 2, 0xF0}));
    a += a; // appending itself must not read freed memory
    EXPECT_EQ(a, Bytes({1, 2, 0xF0, 1, 2, 0xF0}));
    EXPECT_EQ(~Bytes({0x00, 0xFF, 0x5A}), Bytes({0xFF, 0x00, 0xA5}));
    EXPECT_EQ((~CBufferUC()).GetSize(), 0);
}

TEST(BufferUC, FileFlusOutWritesAllBytesOrFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.bin"));
    const CBufferUC buf = Bytes({0x00, 0x0A, 0x0D, 0xFF});
    ASSERT_TRUE(buf.FileFlusOut(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\x00\x0A\x0D\xFF", 4));
    file.close();

    EXPECT_TRUE(CBufferUC().FileFlusOut(path));
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_FALSE(buf.FileFlusOut(dir.filePath(QStringLiteral("missing/dir/out.bin"))));
    EXPECT_FALSE(buf.FileFlusOut(QString()));
}
