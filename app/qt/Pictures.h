#pragma once
// Makes the generated pictures available as ":/pictures/<file name>". They
// live in a static library, whose resources register only when called for:
// every user of a picture calls this first; calls after the first do nothing.
void InitPictures();
