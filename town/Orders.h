#pragma once
#include <array>
#include <string>

#include "town/Evsrvfm.h"

// The order catalogue, the order titles and the seven ordering clients. The held
// orders themselves (`Orders`) live beside the event server; the operations on them
// are members of TEventServerDbg (town/Orders.cpp).

constexpr int kOrderCatalogSize = 22;  // rows 0..17 offered by the customers, 18..21 not
constexpr int kOfferedOrderCount = 18;
constexpr int kOrderTextCount = 23;  // id 0 ("no order") and ids 1..22
constexpr int kFirstOrderFlag = 684;

// Templates: the deadline field holds the days from acceptance to the deadline.
extern const std::array<OrderSlot, kOrderCatalogSize> OrderCatalog;

// Titles by order id, Big5; id 0 is the text of an empty page.
const std::array<std::string, kOrderTextCount>& OrderTexts();

// One ordering client: the visitor figure and the client's lines (Big5).
struct OrderClient {
    int Figure = 0;
    std::string Offer;    // the request, ending in a line feed
    std::string Ask;      // the closing question after the order's title
    std::string Accept;   // after the deadline's date: the pick-up promise
    std::string Refuse;   // the whole reply to a refusal, from "顧客「"
    std::string Thanks;   // after "顧客「"
    std::string Apology;  // after "顧客「"
};
const std::array<OrderClient, kOrderClientCount>& OrderClients();

// Day d as its date text, "M月D日", in full-width digits (Big5).
std::string OrderDateText(int day);
