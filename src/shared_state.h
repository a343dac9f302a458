// Trovik's state for other plug-ins and scripts: read-only datarefs under trovik/ (a lamp for
// slew mode, the speed factor on a display), and a word to the dataref browsers users run that
// they exist.
#ifndef TROVIK_SHARED_STATE_H
#define TROVIK_SHARED_STATE_H

// At start: the datarefs registered, and the browsers told at the first frame (one loaded after
// us would miss a message sent during our start). At stop: both undone.
void PublishState();
void WithdrawState();

#endif  // TROVIK_SHARED_STATE_H
