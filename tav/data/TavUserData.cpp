// The transfer files' one-text record.
#include "tav/data/TavUserData.h"

TavUserData::~TavUserData() = default;

void TavUserData::Serialize(plat::Archive& archive)
{
    if (archive.IsStoring())
        archive.WriteString(m_string);
    else
        m_string = archive.ReadString();
}
