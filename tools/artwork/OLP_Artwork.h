#pragma once

// The application's images (":/OLP_GUI/images/...") are drawn at build time
// and compiled into the static library olp_artwork. The linker keeps a static
// library's resources only when something refers to them, so the application
// and every test that shows an image call this once before the first image
// is loaded. Safe to call more than once; needs no application object.
void olpInitArtwork();
