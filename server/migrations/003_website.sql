-- The website's players: the site asks for a round's seed, noted with when and for whom it was
-- issued, and delivers the round under the seed's id. Their rounds belong to the row "the
-- website": a name with a space, which no kiosk has, and an empty token hash, which no token has.
ALTER TABLE kiosks ADD COLUMN website boolean NOT NULL DEFAULT false;
ALTER TABLE kiosks DROP CONSTRAINT kiosks_name_check;
ALTER TABLE kiosks ADD CONSTRAINT kiosks_name_check CHECK (name ~ '^[!-~]{1,64}$' OR website);
INSERT INTO kiosks (name, token_hash, website) VALUES ('the website', '\x'::bytea, true);

CREATE TABLE seeds (
    id text PRIMARY KEY CHECK (id ~ '^[0-9a-f]{32}$'),
    seed integer NOT NULL CHECK (seed BETWEEN 0 AND 9999),
    issued timestamptz NOT NULL DEFAULT clock_timestamp(),
    address text NOT NULL
);

-- A certificate names its round by the first 12 digits of the id.
CREATE INDEX rounds_code ON rounds (left(id, 12));
