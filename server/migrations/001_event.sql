-- The event: its kiosks, each with the hash of its token, and every round they delivered that
-- verified, with the file as it came.
CREATE TABLE kiosks (
    id serial PRIMARY KEY,
    name text NOT NULL UNIQUE CHECK (name ~ '^[!-~]{1,64}$'),
    token_hash bytea NOT NULL UNIQUE,
    added timestamptz NOT NULL DEFAULT now()
);

CREATE TABLE rounds (
    id text PRIMARY KEY CHECK (id ~ '^[0-9a-f]{32}$'),
    kiosk_id integer NOT NULL REFERENCES kiosks (id),
    started timestamptz NOT NULL,
    received timestamptz NOT NULL DEFAULT now(),
    library text NOT NULL,
    seed integer NOT NULL,
    frames integer NOT NULL,
    completed boolean NOT NULL,
    seconds integer NOT NULL CHECK (seconds BETWEEN 0 AND 3599),
    record boolean NOT NULL,
    name text NOT NULL,
    file text NOT NULL
);

-- The tables: the best completed rounds, of the event, of a day and of a kiosk.
CREATE INDEX rounds_best ON rounds (seconds, started) WHERE completed;
CREATE INDEX rounds_started ON rounds (started);
CREATE INDEX rounds_kiosk ON rounds (kiosk_id, seconds) WHERE completed;
