#pragma once

// The customer-request table: the offers of orders 0..17 (slots 0..17) and their
// collections on the deadline day (slots 18..35).

// Order k's offer comes this evening (k 0..17): a free slot and the order not held, the
// heroine in the shop, the order's season, no order taken today, and the customer's
// roll of 60, drawn only when the rest hold.
bool OrderOfferComes(int k);
// Order k is collected this evening: its flag armed on its deadline day, the heroine in
// the shop.
bool OrderCollectionComes(int k);

bool EvCustomerRequest000();
bool EvCustomerRequest001();
bool EvCustomerRequest002();
bool EvCustomerRequest003();
bool EvCustomerRequest004();
bool EvCustomerRequest005();
bool EvCustomerRequest006();
bool EvCustomerRequest007();
bool EvCustomerRequest008();
bool EvCustomerRequest009();
bool EvCustomerRequest010();
bool EvCustomerRequest011();
bool EvCustomerRequest012();
bool EvCustomerRequest013();
bool EvCustomerRequest014();
bool EvCustomerRequest015();
bool EvCustomerRequest016();
bool EvCustomerRequest017();
bool EvCustomerRequest018();
bool EvCustomerRequest019();
bool EvCustomerRequest020();
bool EvCustomerRequest021();
bool EvCustomerRequest022();
bool EvCustomerRequest023();
bool EvCustomerRequest024();
bool EvCustomerRequest025();
bool EvCustomerRequest026();
bool EvCustomerRequest027();
bool EvCustomerRequest028();
bool EvCustomerRequest029();
bool EvCustomerRequest030();
bool EvCustomerRequest031();
bool EvCustomerRequest032();
bool EvCustomerRequest033();
bool EvCustomerRequest034();
bool EvCustomerRequest035();

#define LUMIA_CUSTOMER_REQUEST_SLOTS                                                            \
    EvCustomerRequest000, EvCustomerRequest001, EvCustomerRequest002, EvCustomerRequest003,     \
        EvCustomerRequest004, EvCustomerRequest005, EvCustomerRequest006, EvCustomerRequest007, \
        EvCustomerRequest008, EvCustomerRequest009, EvCustomerRequest010, EvCustomerRequest011, \
        EvCustomerRequest012, EvCustomerRequest013, EvCustomerRequest014, EvCustomerRequest015, \
        EvCustomerRequest016, EvCustomerRequest017, EvCustomerRequest018, EvCustomerRequest019, \
        EvCustomerRequest020, EvCustomerRequest021, EvCustomerRequest022, EvCustomerRequest023, \
        EvCustomerRequest024, EvCustomerRequest025, EvCustomerRequest026, EvCustomerRequest027, \
        EvCustomerRequest028, EvCustomerRequest029, EvCustomerRequest030, EvCustomerRequest031, \
        EvCustomerRequest032, EvCustomerRequest033, EvCustomerRequest034, EvCustomerRequest035
