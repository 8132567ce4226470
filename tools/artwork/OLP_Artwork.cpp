#include "OLP_Artwork.h"

#include <QtGlobal>

void olpInitArtwork()
{
    Q_INIT_RESOURCE(olp_artwork);
}
